// Fuzz target: kelvo-calc's reader and the whole schedule. Whatever the bytes, nothing crashes
// and the schedule keeps its promise: one output row for every input row read (blank rows
// included), each at least the header's width plus the result columns, wider only with the
// message that says why.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "schedule/formats/csv/csv.h"
#include "schedule/formats/csv/csv_table.h"
#include "schedule/run.h"
#include "schedule/columns.h"
#include "schedule/formats/table.h"

namespace {

using kelvo::schedule::CsvReader;
using kelvo::schedule::ScheduleReport;

// The records of a text, each as its fields; a record over the length limit as no fields.
std::vector<std::vector<std::string>> Records(const std::string& text, bool& unclosed) {
    std::istringstream in(text);
    CsvReader reader(in);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string_view> fields;
    unclosed = false;
    for (;;) {
        const auto result = reader.Next(fields);
        if (result == CsvReader::Result::End) break;
        if (result == CsvReader::Result::UnclosedQuote) {
            unclosed = true;
            break;
        }
        if (result == CsvReader::Result::TooLong) {
            unclosed = reader.PassThrough([](std::string_view) {}, 0, [] {}).unclosed_quote;
            if (unclosed) break;
            records.emplace_back();
        } else {
            records.emplace_back(fields.begin(), fields.end());
        }
    }
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Status = kelvo::schedule::ScheduleReport::Status;
    std::string input(reinterpret_cast<const char*>(data), size);
    // The last byte, when there is one over 0xF0, picks a separator and Windows-1251 for the
    // input; the output is then written the same way and read back in UTF-8 with ";".
    kelvo::schedule::TableFormat format;
    if (!input.empty() && static_cast<unsigned char>(input.back()) >= 0xF0) {
        const auto pick = static_cast<unsigned char>(input.back());
        input.pop_back();
        format.separator = "\t,;"[pick % 3];
        if (pick & 4) format.encoding = kelvo::schedule::Encoding::Cp1251;
    }
    std::istringstream in(input);
    std::ostringstream out;
    ScheduleReport report;
    {
        const auto reader = kelvo::schedule::MakeCsvReader(in, format);
        const auto writer = kelvo::schedule::MakeCsvWriter(out, {kelvo::schedule::Encoding::Utf8, false});
        report = kelvo::schedule::ProcessSchedule(*reader, *writer);
        std::string error;
        writer->Finish(error);
    }
    if (format.encoding == kelvo::schedule::Encoding::Cp1251 || format.separator != ';') {
        // Only that nothing crashes and the count holds: re-read in the input's own terms.
        return 0;
    }
    bool input_unclosed = false, output_unclosed = false;
    const auto read = Records(input, input_unclosed);
    const auto written = Records(out.str(), output_unclosed);
    if (output_unclosed) std::abort();
    if (report.status == Status::NoHeader || report.status == Status::HeaderTooLong ||
        (report.status == Status::UnclosedQuote && read.empty())) {
        if (!out.str().empty()) std::abort();
        return 0;
    }
    if (input_unclosed != (report.status == Status::UnclosedQuote)) std::abort();
    // The header: the first of the first 50 records that looks like one (or the one under it when
    // that names more columns), else the first; the records above it come out as they were, and
    // nameless columns at its end are no columns.
    const auto fields_of = [&](std::size_t r) { return std::vector<std::string_view>(read[r].begin(), read[r].end()); };
    std::size_t header = 0;
    for (std::size_t r = 0; r < read.size() && r < 50; ++r) {
        if (!kelvo::schedule::LooksLikeHeader(fields_of(r))) continue;
        header = r;
        if (r + 1 < read.size() && r + 1 < 50 && kelvo::schedule::LooksLikeHeader(fields_of(r + 1)) &&
            kelvo::schedule::ColumnMap(fields_of(r + 1)).InputColumns() >
                kelvo::schedule::ColumnMap(fields_of(r)).InputColumns())
            header = r + 1;
        break;
    }
    if (written.size() != read.size() || report.rows + 1 + header != read.size()) std::abort();
    for (std::size_t r = 0; r < header; ++r)
        if (written[r] != read[r]) std::abort();
    std::size_t named = read[header].size();
    while (named > 1 && kelvo::Trim(read[header][named - 1]).empty()) --named;
    const kelvo::schedule::ColumnMap map(fields_of(header));
    const std::size_t width = named + kelvo::schedule::kResultCount +
                              (map.HasConditions() ? kelvo::schedule::kCorrectionCount : 0) +
                              (map.ChecksDisconnection() ? kelvo::schedule::kDisconnectionCount : 0);
    if (written[header].size() != width) std::abort();
    for (std::size_t r = header + 1; r < written.size(); ++r) {
        const auto& row = written[r];
        if (row.empty()) continue;  // over the length limit
        if (row.size() < width) std::abort();
        // A blank row (spaces and tabs only) comes out as it came, its surplus blank fields too.
        bool blank = true;
        for (const std::string& field : read[r]) blank = blank && kelvo::Trim(field).empty();
        const bool surplus =
            row.size() > width && (row[width - 1] == kelvo::messages::kSurplusFields ||
                                   row[width - 1].starts_with(kelvo::messages::kSurplusFieldsCut.before));
        if (row.size() > width && !blank && !surplus) std::abort();
        if (row.size() > width + 1024) std::abort();
    }
    return 0;
}
