#include "schedule/outcome.h"

#include "schedule/formats/format_list.h"

namespace kelvo::schedule {

std::string OutcomeFault(const ScheduleReport& report, std::string_view input_name, bool result_to_file) {
    using Status = ScheduleReport::Status;
    switch (report.status) {
        case Status::NoHeader:
            return "во входе нет строки заголовка (" + std::string(input_name) + " пуст)";
        case Status::HeaderTooLong:
            return "строка заголовка длиннее 1 МиБ; это не кабельный журнал";
        case Status::UnclosedQuote:
            return "кавычка поля, начатого в строке " + std::to_string(report.quote_line) +
                   ", не закрыта до конца входа" + (result_to_file ? "; результат не записан" : "");
        case Status::ReadFault:
            return report.fault;
        case Status::Cancelled:
        case Status::AllCalculated:
        case Status::SomeMessages:
            return {};
    }
    return {};
}

std::string RowCounts(std::size_t rows, std::size_t with_message, std::size_t not_disconnected) {
    std::string counts = "Строк: " + std::to_string(rows) + ", рассчитано: " + std::to_string(rows - with_message) +
                         ", с сообщением: " + std::to_string(with_message);
    if (not_disconnected > 0) counts += ", без отключения при КЗ: " + std::to_string(not_disconnected);
    return counts;
}

std::string ResultName(std::string_view input_name, std::string_view ending) {
    const std::size_t dot = input_name.rfind('.');
    const std::string_view base = dot == std::string_view::npos ? input_name : input_name.substr(0, dot);
    return std::string(base) + "-результат" +
           std::string(ending.empty() ? OutputFormatOf(input_name).endings[0] : ending);
}

int ExitStatus(const ScheduleReport& report) {
    using Status = ScheduleReport::Status;
    switch (report.status) {
        case Status::AllCalculated:
            return report.rows_not_disconnected > 0 ? 1 : 0;
        case Status::SomeMessages:
            return 1;
        default:
            return 2;
    }
}

std::string NumbersNote(DecimalSign numbers) {
    if (numbers != DecimalSign::Point) return {};
    return "числа в файле записаны с десятичной точкой (2.5) и запятой между тысячами (1,200): так они и прочитаны";
}

std::string UnknownColumnWarning(std::string_view name) {
    std::string shown;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 15];
        } else {
            shown += c;
        }
    }
    return "предупреждение: столбец «" + shown + "» не известен и переносится без изменений";
}

}  // namespace kelvo::schedule
