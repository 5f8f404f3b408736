// kelvo-calc: the calculation of the desktop program over a cable schedule in CSV.
#include <fcntl.h>
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

namespace {

constexpr const char* kHelp = R"(Использование: kelvo-calc [-o ВЫХОД.csv] [ВХОД.csv]

Рассчитывает кабельный журнал так же, как окно kelvo: сечение проводника по
длительно допустимому току (ПУЭ) и по потерям напряжения, рекомендуемое сечение
и защиту линии (автомат и УЗО). Без ВХОДА читает стандартный ввод, без -o пишет
в стандартный вывод.

Формат: CSV в кодировке UTF-8 (метка BOM допускается), разделитель «;», первая
строка — заголовок, десятичная запятая (2,5). Поля с «;», кавычками или
переводами строк заключаются в кавычки, кавычка внутри поля удваивается.

На каждую строку входа выводится ровно одна строка, в том же порядке: поля
входа (короткая строка дополняется пустыми полями до ширины заголовка), затем
столбцы результата. Если полей больше, чем столбцов в заголовке, строка
получает сообщение без результатов, а лишние поля сохраняются по порядку
после столбцов результата (пустые лишние поля в конце строки отбрасываются).
Пустая строка выводится пустой, без сообщения. Строка длиннее 1 МиБ выводится
как есть, с сообщением в своем столбце. Названия столбцов сравниваются без
учета регистра, пробелов по краям и различия «ё» и «е»; о незнакомом
столбце выводится предупреждение, сам столбец переносится без изменений.

Результат пишется во временный файл рядом с ВЫХОДОМ и заменяет ВЫХОД только
после успешного завершения: при ошибке или прерывании прежний ВЫХОД остается
как был. ВЫХОД не может быть входным файлом.

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
длиннее 1 МиБ, незакрытая кавычка), ВЫХОД совпадает со входом или результат
не удалось записать; ВЫХОД тогда не меняется.

Параметры:
  -o ФАЙЛ     записать результат в ФАЙЛ (один раз, непустое имя)
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

constexpr const char* kUsage = "Использование: kelvo-calc [-o ВЫХОД.csv] [ВХОД.csv]";

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

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_MESSAGES, "");  // the system's reasons in the user's language
    const bool stdin_closed = HoldIfClosed(STDIN_FILENO);
    const bool stdout_closed = HoldIfClosed(STDOUT_FILENO);
    HoldIfClosed(STDERR_FILENO);
    std::string input_path;
    std::optional<std::string> output_path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "kelvo-calc " KELVO_VERSION "\n";
            return 0;
        }
        if (arg == "-o") {
            if (++i >= argc) return UsageError("после -o нужен файл результата");
            if (output_path) return UsageError("файл результата (-o) можно указать только один раз");
            output_path = argv[i];
            if (output_path->empty()) return UsageError("после -o нужно имя файла, а не пустая строка");
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return UsageError("неизвестный параметр «" + arg + "»; справка: kelvo-calc --help");
        } else if (input_path.empty()) {
            input_path = arg;
        } else {
            return UsageError("можно указать только один входной файл");
        }
    }

    int input_fd = STDIN_FILENO;
    if (!input_path.empty() && input_path != "-") {
        input_fd = ::open(input_path.c_str(), O_RDONLY | O_CLOEXEC);
        if (input_fd < 0) return Fail("не удается открыть «" + input_path + "»: " + Reason(errno));
    }
    const std::string input_name = input_fd == STDIN_FILENO ? "стандартный ввод" : "«" + input_path + "»";
    if (input_fd == STDIN_FILENO && stdin_closed) return Fail("ошибка чтения входа: " + Reason(EBADF));
    if (!output_path && stdout_closed) return Fail("не удалось записать результат: " + Reason(EBADF));

    // The result never goes over the input: it would be gone before it was read.
    std::optional<kelvo::cli::AtomicOutput> output;
    if (output_path) {
        const auto input_identity = kelvo::cli::IdentityOfDescriptor(input_fd);
        if (input_identity && input_identity == kelvo::cli::IdentityOfPath(*output_path))
            return Fail("файл результата «" + *output_path + "» — это входной файл; укажите другой файл после -o");
        output.emplace(*output_path);
        if (output->fd() < 0) return Fail("не удается создать «" + *output_path + "»: " + output->error());
    }

    kelvo::cli::FdReadBuffer input_buffer(input_fd);
    kelvo::cli::FdWriteBuffer output_buffer(output ? output->fd() : STDOUT_FILENO);
    std::istream in(&input_buffer);
    std::ostream out(&output_buffer);

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
    const auto report = kelvo::cli::ProcessSchedule(in, out, events);
    out.flush();
    progress.Finish(rows);

    using Status = kelvo::cli::ScheduleReport::Status;
    if (input_buffer.error() != 0) return Fail("ошибка чтения входа: " + Reason(input_buffer.error()));
    switch (report.status) {
        case Status::NoHeader:
            return Fail("во входе нет строки заголовка (" + input_name + " пуст)");
        case Status::HeaderTooLong:
            return Fail("строка заголовка длиннее 1 МиБ; это не таблица kelvo-calc");
        case Status::UnclosedQuote:
            return Fail("кавычка поля, начатого в строке " + std::to_string(report.quote_line) +
                        ", не закрыта до конца входа" + (output ? "; результат не записан" : ""));
        default:
            break;
    }
    if (output_buffer.error() != 0 || !out)
        return Fail("не удалось записать результат: " + Reason(output_buffer.error() ? output_buffer.error() : EIO));
    if (output && !output->Commit()) return Fail("не удалось записать «" + *output_path + "»: " + output->error());
    return report.status == Status::AllCalculated ? 0 : 1;
}
