#include "schedule/outcome.h"

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

}  // namespace kelvo::schedule
