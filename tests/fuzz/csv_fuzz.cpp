// Fuzz target: kelvo-calc's reader and the whole schedule. Whatever the bytes, nothing crashes
// and the output holds one record for every record read.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/csv.h"
#include "cli/schedule.h"

namespace {

std::size_t CountRecords(const std::string& text) {
    std::istringstream in(text);
    kelvo::cli::CsvReader reader(in);
    std::vector<std::string_view> fields;
    std::size_t count = 0;
    while (reader.Next(fields) != kelvo::cli::CsvReader::Result::End) ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    std::ostringstream out;
    const auto status = kelvo::cli::ProcessSchedule(in, out);
    const std::size_t read = CountRecords(input);
    if (status == kelvo::cli::ScheduleStatus::NoHeader) {
        if (read != 0 || !out.str().empty()) std::abort();
        return 0;
    }
    if (CountRecords(out.str()) != read) std::abort();
    return 0;
}
