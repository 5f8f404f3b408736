// kelvo-calc: the calculation of the desktop program over a cable schedule in CSV.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "cli/files.h"
#include "cli/schedule.h"
#include "cli/schedule_file.h"

namespace {

constexpr const char* kHelp = R"(Использование: kelvo-calc [ПАРАМЕТРЫ] [-o ВЫХОД.csv|ВЫХОД.xlsx] [ВХОД.csv|ВХОД.xlsx]

Рассчитывает кабельный журнал так же, как окно kelvo: сечение проводника по
длительно допустимому току (ПУЭ) и по потерям напряжения, рекомендуемое сечение
и защиту линии (автомат и УЗО). Без ВХОДА читает стандартный ввод, без -o пишет
в стандартный вывод (CSV).

Форматы. Вход: книга XLSX (первый лист или --sheet ИМЯ; числа читаются так, как
их показывает таблица, с десятичной запятой) или CSV в кодировке UTF-8 (метка
BOM допускается) либо Windows-1251: файл, целиком правильный в UTF-8, читается
как UTF-8, иначе как Windows-1251. Разделитель («;», «,» или табуляция)
определяется по строке заголовка. Первая строка — заголовок, десятичная
запятая (2,5); поля с разделителем, кавычками или переводами строк заключаются
в кавычки, кавычка внутри поля удваивается.
Выход: по имени файла после -o — книга XLSX (.xlsx: числа хранятся числами,
сообщения текстом, строка заголовка выделена и закреплена) или CSV в
кодировке, с разделителем и переводами строк входа (метка BOM сохраняется).

На каждую строку входа выводится ровно одна строка, в том же порядке: поля
входа (короткая строка дополняется пустыми полями до ширины заголовка), затем
столбцы результата. Если полей больше, чем столбцов в заголовке, строка
получает сообщение без результатов, а лишние поля сохраняются по порядку
после столбцов результата (пустые лишние поля в конце строки отбрасываются).
Пустая строка выводится пустой, без сообщения. Строка CSV длиннее 1 МиБ
выводится как есть, с сообщением в своем столбце (в книгу XLSX — не больше
32 767 знаков в ячейке). Названия столбцов сравниваются без учета регистра,
пробелов по краям и различия «ё» и «е»; о незнакомом столбце выводится
предупреждение, сам столбец переносится без изменений.

Книгой считается файл с именем .xlsx или .xlsm или файл с признаками архива
zip: он читается как книга или отвергается как поврежденный, но никогда не
читается как текст. Остальное — CSV, если имя кончается на .csv, .txt или .tsv
или файл похож на текст; иначе файл отвергается.

Книга не читается наполовину: каждая часть сверяется с контрольной суммой, и
поврежденная часть — это поврежденная книга. Пределы, которых не достигает ни
один настоящий журнал (превышение — поврежденная книга, код 2): номер строки до
1 048 576, столбец до 16 384 (XFD), строки и ячейки по порядку, ссылки только
на существующие общие строки, в ячейке не больше 32 767 знаков, в строке не
больше 16 МиБ текста, вложенность элементов не глубже 100 уровней, один
элемент XML не длиннее 4 МиБ, без объявления DOCTYPE, общих строк не больше
2 097 152 и не больше 100 МиБ. В книгу результата знаки, которых не может
содержать XML, пишутся экранированными (_x0001_), байты не в UTF-8 — знаком
U+FFFD.

Результат пишется во временный файл рядом с ВЫХОДОМ (временные файлы
библиотеки XLSX — тоже рядом) и заменяет ВЫХОД только после успешного
завершения; записанная книга перед этим перечитывается и сверяется. При
ошибке, переполнении диска или прерывании прежний ВЫХОД остается как был.
ВЫХОД и стандартный вывод не могут быть входным файлом. Если ВЫХОД — ссылка,
пишется файл, на который она указывает.

Столбцы входа (порядок любой, лишние столбцы переносятся без изменений):
  расчет        «прямой» (по нагрузке, по умолчанию) или «обратный» (по сечению)
  мощность_кВт  нагрузка в кВт (прямой расчет)
  ток_А         нагрузка в А (прямой расчет, если мощность не указана)
  сечение_мм2   сечение жилы в мм² (обратный расчет)
  род_тока      «1ф», «3ф» (трехфазная 4-проводная сеть) или «постоянный»
  напряжение_В  номинальное напряжение, В
  материал      «медь» или «алюминий»
  проводник     «провод» или «кабель»
  прокладка     провод:  p1 открыто; закрыто (в трубе, коробе, пучком в лотке):
                         p2, p3, p4 — два, три, четыре одножильных,
                         p5, p6 — один двух-, один трехжильный;
                кабель:  k1 одножильный; двухжильный k2 в воздухе, k3 в земле;
                         трехжильный k4 / k5; четырехжильный k6 / k7;
                         пятижильный k8 в воздухе, k9 в земле
                (буквы р и к можно набирать и по-русски)
  длина_м       длина линии, м (прямой расчет)
  потери_%      допустимые потери напряжения, % (прямой расчет)
  кратность     кратность тока для выбора автомата: 0,8 1 1,1 1,2 1,25 2 3
                4,5 5 6 7 (прямой расчет; пусто — 1; обратный расчет всегда
                ведется при кратности 1)

Столбцы результата:
  ток_А_расчет               ток нагрузки (для обратного расчета — максимально
                             допустимый ток сечения), А
  мощность_кВт_расчет        мощность, кВт
  сечение_по_току_мм2        сечение по длительно допустимому току
  сечение_по_потерям_мм2     сечение по потерям напряжения
  рекомендуемое_сечение_мм2  большее из двух сечений
  основание                  «по длительному току» или «по потерям напряжения»
  ток_при_кратности_А        ток нагрузки, умноженный на кратность
  автомат_А                  номинальный ток автомата защиты («1,111» — больше
                             любого автомата ряда)
  УЗО_ток_А                  номинальный ток УЗО
  УЗО_дифток_мА              номинальный отключающий дифференциальный ток
  сообщение                  текст ошибки, как его показывает окно kelvo; у
                             строки с сообщением результаты пустые

Сообщения в столбце «сообщение»:
  десятичные вводятся через запятую…   число записано не через запятую или
                                       нагрузка не указана
  Нагрузка не может быть отрицательной
  Напряжение / Длина линии / Допустимые потери напряжения должны быть
  больше нуля
  Кратность «…» не из списка: …        кратности нет в списке окна
  Установите длину в метрах            прямой расчет без длины
  Установите сечение                   обратный расчет без сечения
  [Выбор Error -превышение] …          нагрузка больше таблицы прокладки
  Требуемое по потерям напряжения сечение больше любого сечения таблиц
  [Error] Слишком большая мощность или длина.
  Расчет невозможен: …                 результат слишком велик
  Ток на такое сечение не установлен…  сечение больше таблицы прокладки
  Для этого сечения нет строки…        сечения нет в таблице прокладки
  Прокладка не соответствует проводнику…
  Неизвестный вид расчета / род тока / материал / проводник / прокладка
  В таблице нет столбца «…»
  Укажите либо мощность, либо ток, а не оба значения
  Строка не в кодировке UTF-8
  В строке больше полей, чем столбцов в заголовке…
  Строка длиннее 1 МиБ, перенесена без расчета

Код завершения: 0 — все строки рассчитаны (пустые строки не в счет),
1 — в некоторых строках есть сообщение, 2 — ошибка: неверные параметры,
вход не удалось прочитать (нет файла, ошибка чтения, нет заголовка, заголовок
длиннее 1 МиБ, незакрытая кавычка, книга повреждена, защищена паролем или в
старом формате .xls, нет такого листа, файл не книга и не текст), ВЫХОД или
стандартный вывод совпадает со входом или результат не удалось записать;
ВЫХОД тогда не меняется.

Параметры:
  -o ФАЙЛ                записать результат в ФАЙЛ (.xlsx — книгой, иначе CSV)
  --encoding КОД         кодировка входа CSV: utf-8 или cp1251
  --separator ЗНАК       разделитель входа CSV: «;», «,» или tab
  --output-encoding КОД  кодировка выхода CSV: utf-8, utf-8-bom или cp1251
  --sheet ИМЯ            лист книги XLSX (по умолчанию первый)
  --help      показать эту справку
  --version   показать версию
)";

// A progress line for long runs, only on a terminal.
class Progress {
public:
    Progress() : enabled_(isatty(STDERR_FILENO) == 1), start_(Clock::now()), next_(start_ + std::chrono::seconds(1)) {}
    void Tick(std::size_t rows) {
        if (!enabled_ || (rows & 0x3FF) != 0) return;
        const auto now = Clock::now();
        if (now < next_) return;
        next_ = now + std::chrono::milliseconds(250);
        shown_ = true;
        std::cerr << "\rобработано строк: " << rows << std::flush;
    }
    void Finish(std::size_t rows) {
        if (shown_) std::cerr << "\rобработано строк: " << rows << '\n';
    }

private:
    using Clock = std::chrono::steady_clock;
    bool enabled_;
    bool shown_ = false;
    Clock::time_point start_, next_;
};

constexpr const char* kUsage = "Использование: kelvo-calc [ПАРАМЕТРЫ] [-o ВЫХОД.csv|.xlsx] [ВХОД.csv|.xlsx]";

int Fail(const std::string& message) {
    std::cerr << "kelvo-calc: " << message << '\n';
    return 2;
}

int UsageError(const std::string& message) {
    std::cerr << "kelvo-calc: " << message << '\n' << kUsage << '\n';
    return 2;
}

std::string Reason(int error) { return std::strerror(error); }

// A standard stream the program was started without is held by /dev/null, so that no file
// opened later takes its number and is read or written as that stream; whether it was closed
// is returned.
bool HoldIfClosed(int fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) return false;
    const int held = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (held >= 0 && held != fd) ::close(held);
    return true;
}

// What the command line asks for.
struct Arguments {
    std::string input;
    std::optional<std::string> output;
    kelvo::cli::InputOptions read;
    kelvo::cli::OutputOptions write;
};

// Reads one option's value into `value`; an error message when it is missing, empty or given
// twice.
std::optional<std::string> TakeValue(int argc, char** argv, int& i, std::optional<std::string>& value) {
    const std::string option = argv[i];
    if (++i >= argc) return "после " + option + " нужно значение";
    if (value) return option + " можно указать только один раз";
    value = argv[i];
    if (value->empty()) return "после " + option + " нужно значение, а не пустая строка";
    return std::nullopt;
}

std::optional<kelvo::cli::Encoding> EncodingNamed(const std::string& name) {
    if (name == "utf-8" || name == "utf8" || name == "utf-8-bom") return kelvo::cli::Encoding::Utf8;
    if (name == "cp1251" || name == "windows-1251") return kelvo::cli::Encoding::Cp1251;
    return std::nullopt;
}

// Parses the command line; an exit status when the program is done (help, version, an error).
std::optional<int> Parse(int argc, char** argv, Arguments& arguments) {
    std::optional<std::string> output, encoding, separator, output_encoding, sheet;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::optional<std::string> problem;
        if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return 0;
        } else if (arg == "--version") {
            std::cout << "kelvo-calc " KELVO_VERSION "\n";
            return 0;
        } else if (arg == "-o") {
            problem = TakeValue(argc, argv, i, output);
        } else if (arg == "--encoding") {
            problem = TakeValue(argc, argv, i, encoding);
        } else if (arg == "--separator") {
            problem = TakeValue(argc, argv, i, separator);
        } else if (arg == "--output-encoding") {
            problem = TakeValue(argc, argv, i, output_encoding);
        } else if (arg == "--sheet") {
            problem = TakeValue(argc, argv, i, sheet);
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            problem = "неизвестный параметр «" + arg + "»; справка: kelvo-calc --help";
        } else if (arguments.input.empty()) {
            arguments.input = arg;
        } else {
            problem = "можно указать только один входной файл";
        }
        if (problem) return UsageError(*problem);
    }
    arguments.output = output;
    if (encoding && !(arguments.read.encoding = EncodingNamed(*encoding)))
        return UsageError("--encoding: utf-8 или cp1251");
    if (separator) {
        if (*separator == ";" || *separator == ",")
            arguments.read.separator = (*separator)[0];
        else if (*separator == "tab" || *separator == "\t")
            arguments.read.separator = '\t';
        else
            return UsageError("--separator: «;», «,» или tab");
    }
    if (sheet) arguments.read.sheet = *sheet;
    if (output) arguments.write.kind = kelvo::cli::KindOfPath(*output);
    if (output_encoding) {
        if (!(arguments.write.csv.encoding = EncodingNamed(*output_encoding)))
            return UsageError("--output-encoding: utf-8, utf-8-bom или cp1251");
        arguments.write.csv.byte_order_mark = *output_encoding == "utf-8-bom";
    }
    return std::nullopt;
}

// The exit status and message of a finished run.
int Finish(const kelvo::cli::ScheduleReport& report, const std::string& input_name, bool to_file) {
    using Status = kelvo::cli::ScheduleReport::Status;
    switch (report.status) {
        case Status::NoHeader:
            return Fail("во входе нет строки заголовка (" + input_name + " пуст)");
        case Status::HeaderTooLong:
            return Fail("строка заголовка длиннее 1 МиБ; это не таблица kelvo-calc");
        case Status::UnclosedQuote:
            return Fail("кавычка поля, начатого в строке " + std::to_string(report.quote_line) +
                        ", не закрыта до конца входа" + (to_file ? "; результат не записан" : ""));
        case Status::ReadFault:
        case Status::Cancelled:
            return Fail(report.fault);
        case Status::AllCalculated:
            return 0;
        case Status::SomeMessages:
            return 1;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_MESSAGES, "");  // the system's reasons in the user's language
    const bool stdin_closed = HoldIfClosed(STDIN_FILENO);
    const bool stdout_closed = HoldIfClosed(STDOUT_FILENO);
    HoldIfClosed(STDERR_FILENO);
    Arguments arguments;
    if (const auto done = Parse(argc, argv, arguments)) return *done;

    const bool standard_input = arguments.input.empty() || arguments.input == "-";
    if (standard_input && stdin_closed) return Fail("ошибка чтения входа: " + Reason(EBADF));
    if (!arguments.output && stdout_closed) return Fail("не удалось записать результат: " + Reason(EBADF));
    std::string error;
    const auto input = kelvo::cli::ScheduleInput::Open(arguments.input, arguments.read, error);
    if (!input) return Fail(error);
    const std::string input_name = standard_input ? "стандартный ввод" : "«" + arguments.input + "»";

    // The result never goes over the input: it would be gone before it was read.
    const std::string output_path = arguments.output.value_or("");
    if (arguments.output && input->Identity() && input->Identity() == kelvo::cli::IdentityOfPath(output_path))
        return Fail("файл результата «" + output_path + "» — это входной файл; укажите другой файл после -o");
    // Standard output appended or redirected onto the input would be read back as more input.
    struct stat standard_output {};
    if (!arguments.output && input->Identity() && ::fstat(STDOUT_FILENO, &standard_output) == 0 &&
        S_ISREG(standard_output.st_mode) && input->Identity() == kelvo::cli::IdentityOfDescriptor(STDOUT_FILENO))
        return Fail("стандартный вывод — это входной файл; укажите файл результата после -o");
    const auto output = kelvo::cli::ScheduleOutput::Open(output_path, arguments.write, error);
    if (!output) return Fail("не удается создать «" + output_path + "»: " + error);

    Progress progress;
    std::size_t rows = 0;
    kelvo::cli::ScheduleEvents events;
    events.on_row = [&](std::size_t done) {
        rows = done;
        progress.Tick(done);
    };
    events.on_unknown_column = [](std::string_view name) {
        std::cerr << "kelvo-calc: предупреждение: столбец «" << name << "» не известен и переносится без изменений\n";
    };
    const auto report = kelvo::cli::ProcessSchedule(input->Reader(), output->Writer(), events);
    progress.Finish(rows);
    const int status = Finish(report, input_name, arguments.output.has_value());
    if (status == 2) return status;
    if (!output->Commit(error))
        return Fail(arguments.output ? "не удалось записать «" + output_path + "»: " + error
                                     : "не удалось записать результат: " + error);
    return status;
}
