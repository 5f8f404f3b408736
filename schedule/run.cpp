#include "schedule/run.h"

#include <algorithm>

#include "core/messages.h"
#include "schedule/formats/csv.h"
#include "schedule/formats/table.h"

namespace kelvo::schedule {

namespace {

// Fields that hold nothing but spaces.
bool AllBlank(const std::vector<std::string_view>& fields, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!Trim(fields[i]).empty()) return false;
    return true;
}

}  // namespace

namespace {

// One pass over a schedule: the header, then every row in order, each written once.
class ScheduleRun {
public:
    ScheduleRun(TableReader& reader, TableWriter& writer, const ScheduleEvents& events)
        : reader_(reader), writer_(writer), events_(events) {}

    ScheduleReport Run() {
        if (!Header()) return report_;
        while (Row()) {
            if (events_.on_row) events_.on_row(report_.rows);
            if (events_.cancelled && events_.cancelled()) {
                report_.status = Status::Cancelled;
                break;
            }
        }
        if (report_.status != Status::Cancelled && !reader_.Fault().empty()) {
            report_.status = Status::ReadFault;
            report_.fault = reader_.Fault();
        }
        return report_;
    }

private:
    using Status = ScheduleReport::Status;
    using Result = TableReader::Result;

    bool Header() {
        switch (reader_.Next(fields_)) {
            case Result::Record:
                break;
            case Result::End:
                report_.status = reader_.Fault().empty() ? Status::NoHeader : Status::ReadFault;
                report_.fault = reader_.Fault();
                return false;
            case Result::TooLong:
                report_.status = Status::HeaderTooLong;
                return false;
            case Result::UnclosedQuote:
                return UnclosedQuote();
        }
        columns_.emplace(fields_);
        if (events_.on_unknown_column)
            for (const std::string& name : columns_->Unknown()) events_.on_unknown_column(name);
        width_ = fields_.size();
        writer_.Begin(reader_.Format(), width_ + kResultCount - 1);
        for (const std::string_view field : fields_) writer_.Field(field);
        for (const std::string_view name : ResultColumnNames()) writer_.Field(name);
        writer_.EndRecord();
        return true;
    }

    // Reads and writes the next row; false at the end of the input.
    bool Row() {
        bool calculated = true;
        switch (reader_.Next(fields_)) {
            case Result::End:
                return false;
            case Result::UnclosedQuote:
                return UnclosedQuote();
            case Result::TooLong:
                if (!TooLongRow()) return UnclosedQuote();
                calculated = false;
                break;
            case Result::Record:
                calculated = Record();
                break;
        }
        if (events_.on_row_outcome) events_.on_row_outcome(!calculated);
        writer_.EndRecord();
        ++report_.rows;
        if (!calculated) {
            ++report_.rows_with_message;
            report_.status = Status::SomeMessages;
        }
        return true;
    }

    // The row's own bytes go through unchanged, the message under its heading; false when the
    // input ended inside quotes.
    bool TooLongRow() {
        SetMessage(result_, messages::kTooLongRow);
        const auto passed = reader_.PassThrough([&](std::string_view bytes) { writer_.Raw(bytes); }, width_,
                                                [&] { WriteResults(result_); });
        if (passed.unclosed_quote) return false;
        for (std::size_t i = passed.fields; i < width_; ++i) writer_.Field({});
        if (passed.fields <= width_) WriteResults(result_);
        return true;
    }

    // A row of fields: calculated, blank (written as it came), or with more fields than the
    // header (a message, the surplus after the results). Returns whether it is without a message.
    bool Record() {
        // Empty fields beyond the header's width hold nothing to keep.
        std::size_t count = fields_.size();
        while (count > width_ && fields_[count - 1].empty()) --count;
        const bool blank = AllBlank(fields_, count);
        bool calculated = true;
        if (blank) {
        } else if (count > width_) {
            SetMessage(result_, messages::kSurplusFields);
            calculated = false;
        } else if (!reader_.RecordIsUtf8()) {
            SetMessage(result_, messages::kNotUtf8);
            calculated = false;
        } else {
            calculated = CalculateRow(*columns_, fields_, result_, /*fields_are_utf8=*/true);
        }
        const std::size_t shown = std::min(count, width_);
        if (count == fields_.size() && count <= width_ && CopyablePlain()) {
            writer_.Raw(reader_.PlainRecord());  // the same bytes, in one piece
        } else {
            for (std::size_t i = 0; i < shown; ++i) writer_.Field(fields_[i]);
        }
        for (std::size_t i = shown; i < width_; ++i) writer_.Field({});
        WriteResults(blank ? no_result_ : result_);
        for (std::size_t i = width_; i < count; ++i) writer_.Field(fields_[i]);
        return calculated;
    }

    // Whether the record's text can stand for its fields in the output.
    bool CopyablePlain() const {
        if (!writer_.CopiesPlainRecords() || reader_.PlainRecord().empty()) return false;
        for (const std::string_view field : fields_)
            if (!field.empty() && (field.front() == ' ' || field.back() == ' ')) return false;
        return true;
    }

    void WriteResults(const LineResult& line) { writer_.Fields(ResultFields(line)); }

    bool UnclosedQuote() {
        report_.status = Status::UnclosedQuote;
        report_.quote_line = reader_.RecordLine();
        return false;
    }

    TableReader& reader_;
    TableWriter& writer_;
    const ScheduleEvents& events_;
    ScheduleReport report_;
    std::vector<std::string_view> fields_;
    std::optional<ColumnMap> columns_;
    std::size_t width_ = 0;
    LineResult result_;  // reused between rows, so that its strings keep their room
    const LineResult no_result_;
};

}  // namespace

ScheduleReport ProcessSchedule(TableReader& reader, TableWriter& writer, const ScheduleEvents& events) {
    return ScheduleRun(reader, writer, events).Run();
}

ScheduleReport ProcessSchedule(std::istream& in, std::ostream& out, const ScheduleEvents& events) {
    const auto reader = MakeCsvReader(in, {});
    const auto writer = MakeCsvWriter(out);
    const ScheduleReport report = ProcessSchedule(*reader, *writer, events);
    std::string error;
    writer->Finish(error);
    return report;
}

}  // namespace kelvo::schedule
