// kelvo-calc: the calculation of the desktop program over a cable schedule in CSV.
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

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
Столбцы входа сохраняются, столбцы результата добавляются справа. На каждую
строку входа выводится ровно одна строка, в том же порядке.

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
  кратность     кратность тока для выбора автомата (прямой расчет; по
                умолчанию 1; обратный расчет всегда ведется при кратности 1)

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

Код завершения: 0 — все строки рассчитаны, 1 — в некоторых строках есть
сообщение, 2 — вход не удалось прочитать (нет файла, пустой файл без заголовка).

Параметры:
  -o ФАЙЛ     записать результат в ФАЙЛ
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

int Fail(const std::string& message) {
    std::cerr << "kelvo-calc: " << message << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string input_path, output_path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "kelvo-calc 2.1\n";
            return 0;
        }
        if (arg == "-o") {
            if (++i >= argc) return Fail("после -o нужен файл результата");
            output_path = argv[i];
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return Fail("неизвестный параметр «" + arg + "»; справка: kelvo-calc --help");
        } else if (input_path.empty()) {
            input_path = arg;
        } else {
            return Fail("можно указать только один входной файл");
        }
    }

    std::ifstream file;
    if (!input_path.empty() && input_path != "-") {
        file.open(input_path, std::ios::binary);
        if (!file) return Fail("не удается открыть «" + input_path + "»: " + std::strerror(errno));
    }
    std::istream& in = file.is_open() ? static_cast<std::istream&>(file) : std::cin;
    std::ofstream out_file;
    if (!output_path.empty()) {
        out_file.open(output_path, std::ios::binary | std::ios::trunc);
        if (!out_file) return Fail("не удается создать «" + output_path + "»: " + std::strerror(errno));
    }
    std::ostream& out = out_file.is_open() ? static_cast<std::ostream&>(out_file) : std::cout;
    std::ios::sync_with_stdio(false);

    Progress progress;
    std::size_t rows = 0;
    const auto status = kelvo::cli::ProcessSchedule(in, out, [&](std::size_t done) {
        rows = done;
        progress.Tick(done);
    });
    progress.Finish(rows);
    if (status == kelvo::cli::ScheduleStatus::NoHeader) return Fail("во входе нет строки заголовка");
    out.flush();
    if (!out) return Fail("не удалось записать результат");
    if (in.bad()) return Fail("ошибка чтения входа");
    return status == kelvo::cli::ScheduleStatus::AllCalculated ? 0 : 1;
}
