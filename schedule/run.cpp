#include "schedule/run.h"

#include <algorithm>
#include <cstdint>
#include <deque>

#include "core/messages.h"
#include "schedule/formats/csv/csv.h"
#include "schedule/formats/csv/csv_table.h"

namespace kelvo::schedule {

namespace {

// Fields that hold nothing but spaces.
bool AllBlank(const std::vector<std::string_view>& fields, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!Trim(fields[i]).empty()) return false;
    return true;
}

// How far down the header is looked for, and how much the rows above it may hold.
constexpr std::size_t kHeaderRowsSearched = 50;
constexpr std::size_t kHeldBytesMax = std::size_t{4} << 20;

// A record read while the header was looked for, kept to be written once it is known.
// The most fields a row carries beyond the header's width, after its results.
constexpr std::size_t kSurplusFieldsMax = 1024;

// The most cell text a workbook or an OpenDocument file may make the result carry. Their rows and
// cells repeat by count and their strings are shared, so a file of a kilobyte could otherwise
// make gigabytes; a text file carries at most its own bytes.
constexpr std::uint64_t kSheetTextMax = std::uint64_t{256} << 20;

struct Held {
    std::vector<std::string> fields;
    std::vector<CellShown> shown;
    bool utf8 = true;
    std::size_t line = 0;
};

}  // namespace

namespace {

// One pass over a schedule: the header, then every row in order, each written once.
class ScheduleRun {
public:
    ScheduleRun(TableReader& reader, TableWriter& writer, const ScheduleEvents& events)
        : reader_(reader), text_(reader.AsText()), writer_(writer), events_(events) {}

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

    // Finds the header among the first records: the first that looks like one, or the one right
    // under it when that names more schedule columns (a header in two rows: groups such as
    // "Нагрузка" above the names); the first record when none does. The records above it are
    // written as they are, before it.
    bool Header() {
        std::size_t held_bytes = 0;
        std::optional<std::size_t> header;  // among the held records
        while (held_.size() < kHeaderRowsSearched && held_bytes <= kHeldBytesMax) {
            const Result result = reader_.Next(fields_);
            if (result != Result::Record) {
                if (held_.empty()) return FirstRecordFault(result);
                pending_ = result;  // handled after the held rows, where it stands
                break;
            }
            const bool looks = LooksLikeHeader(fields_);
            Hold();
            for (const std::string& field : held_.back().fields) held_bytes += field.size();
            if (header) {
                if (looks && NamedColumns(held_.back()) > NamedColumns(held_[*header])) header = held_.size() - 1;
                break;
            }
            if (looks) header = held_.size() - 1;
        }
        // Without a header, the first record is the header and the rest are rows.
        Replay(header.value_or(0));
        return WriteHeader(header.value_or(0));
    }

    static std::size_t NamedColumns(const Held& held) {
        return ColumnMap({held.fields.begin(), held.fields.end()}).InputColumns();
    }

    bool FirstRecordFault(Result result) {
        switch (result) {
            case Result::End:
                report_.status = reader_.Fault().empty() ? Status::NoHeader : Status::ReadFault;
                report_.fault = reader_.Fault();
                return false;
            case Result::TooLong:
                report_.status = Status::HeaderTooLong;
                return false;
            case Result::UnclosedQuote:
                return UnclosedQuote();
            case Result::Record:
                break;
        }
        return false;
    }

    void Hold() {
        Held held{{fields_.begin(), fields_.end()}, {}, !text_ || text_->RecordIsUtf8(), reader_.RecordLine()};
        const auto shown = reader_.Shown();
        held.shown.assign(shown.begin(), shown.end());
        held_.push_back(std::move(held));
    }

    // Makes the held record number `index` the current one (fields_ and how it is shown).
    void Replay(std::size_t index) {
        const Held& held = held_[index];
        fields_.assign(held.fields.begin(), held.fields.end());
        replayed_ = &held;
    }

    // The header is in fields_, the held record numbered `above`; the held records before it stand
    // above it.
    bool WriteHeader(std::size_t above) {
        columns_.emplace(fields_);
        numbers_ = reader_.Format().numbers;
        if (events_.on_unknown_column)
            for (const std::string& name : columns_->Unknown()) events_.on_unknown_column(name);
        // Nameless columns at the header's end (a formatted empty area) are no columns.
        width_ = fields_.size();
        while (width_ > 1 && Trim(fields_[width_ - 1]).empty()) --width_;
        checks_disconnection_ = columns_->ChecksDisconnection();
        corrects_ = columns_->HasConditions();
        ResultTexts names;
        const std::size_t results = ResultColumnNames(checks_disconnection_, names, corrects_);
        // The message is the last result column.
        writer_.Begin(reader_.Format(), {width_ + results - 1, above});
        for (std::size_t i = 0; i < above; ++i) {
            for (const std::string& field : held_[i].fields) writer_.Field(field);
            writer_.EndRecord();
        }
        for (std::size_t i = 0; i < width_; ++i) writer_.Field(fields_[i]);
        writer_.Fields(std::span(names).first(results));
        writer_.EndRecord();
        next_held_ = above + 1;  // the held rows after the header are rows
        replayed_ = nullptr;
        return true;
    }

    // The next record: a held one first, then the reader's.
    Result NextRecord() {
        if (next_held_ < held_.size()) {
            Replay(next_held_++);
            return Result::Record;
        }
        replayed_ = nullptr;
        if (pending_) {
            const Result result = *pending_;
            pending_.reset();
            if (result != Result::Record) return result;
        }
        return reader_.Next(fields_);
    }
    bool RecordIsUtf8() const { return replayed_ ? replayed_->utf8 : !text_ || text_->RecordIsUtf8(); }
    std::string_view PlainRecord() const { return replayed_ || !text_ ? std::string_view() : text_->PlainRecord(); }
    bool checks_disconnection_ = false;
    bool corrects_ = false;              // the rows get the laying conditions' factor
    DisconnectionFields disconnection_;  // the current row's check, reused between rows
    const DisconnectionFields no_disconnection_;

    // Reads and writes the next row; false at the end of the input.
    bool Row() {
        bool calculated = true;
        switch (NextRecord()) {
            case Result::End:
                return false;
            case Result::UnclosedQuote:
                return UnclosedQuote();
            case Result::TooLong:
                if (!TooLongRow()) return UnclosedQuote();
                calculated = false;
                break;
            case Result::Record:
                if (!WithinSheetText()) return false;
                calculated = Record();
                break;
        }
        const bool not_disconnected = calculated && disconnection_.not_ensured;
        if (events_.on_row_outcome)
            events_.on_row_outcome(!calculated        ? ScheduleEvents::RowOutcome::Message
                                   : not_disconnected ? ScheduleEvents::RowOutcome::NotDisconnected
                                                      : ScheduleEvents::RowOutcome::Calculated);
        report_.rows_not_disconnected += not_disconnected ? 1 : 0;
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
        if (!text_) return false;  // only a reader of text has records too long to split
        const auto passed = text_->PassThrough([&](std::string_view bytes) { writer_.Raw(bytes); }, width_,
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
        } else if (count > width_ + kSurplusFieldsMax) {
            const std::size_t first_cut = width_ + kSurplusFieldsMax;
            const std::size_t line = replayed_ ? replayed_->line : reader_.RecordLine();
            const std::string named = reader_.Format().kind == TableFormat::Kind::Csv
                                          ? "поля " + std::to_string(first_cut + 1)
                                          : "ячейки " + CellReference(first_cut, line);
            SetMessage(result_, messages::kSurplusFieldsCut, named);
            calculated = false;
        } else if (count > width_) {
            SetMessage(result_, messages::kSurplusFields);
            calculated = false;
        } else if (!RecordIsUtf8()) {
            SetMessage(result_, messages::kNotUtf8);
            calculated = false;
        } else {
            calculated = Calculate();
        }
        const std::size_t shown = std::min(count, width_);
        if (count == fields_.size() && count <= width_ && CopyablePlain()) {
            writer_.Raw(PlainRecord());  // the same bytes, in one piece
        } else {
            for (std::size_t i = 0; i < shown; ++i) writer_.Field(fields_[i]);
        }
        for (std::size_t i = shown; i < width_; ++i) writer_.Field({});
        WriteResults(blank ? no_result_ : result_);
        // A file cannot make a result many times its size: surplus fields are carried up to a bound.
        for (std::size_t i = width_; i < std::min(count, width_ + kSurplusFieldsMax); ++i) writer_.Field(fields_[i]);
        return calculated;
    }

    // Counts the record's text against what a spreadsheet may make; past it the run ends, a fault
    // (a result cut short would pass for the whole).
    bool WithinSheetText() {
        if (text_) return true;
        for (const std::string_view field : fields_) sheet_text_ += field.size();
        if (sheet_text_ <= kSheetTextMax) return true;
        report_.status = Status::ReadFault;
        const std::size_t line = replayed_ ? replayed_->line : reader_.RecordLine();
        report_.fault = std::string(messages::kSheetTextTooMuch) + std::to_string(line);
        return false;
    }

    // Whether the record's text can stand for its fields in the output.
    bool CopyablePlain() const {
        if (!writer_.CopiesPlainRecords() || PlainRecord().empty()) return false;
        for (const std::string_view field : fields_)
            if (!field.empty() && (field.front() == ' ' || field.back() == ' ')) return false;
        return true;
    }

    // The row's calculation; a workbook's row with how its cells are shown and where it stands.
    bool Calculate() {
        const auto shown = replayed_ ? std::span<const CellShown>(replayed_->shown) : reader_.Shown();
        DisconnectionFields* check = checks_disconnection_ ? &disconnection_ : nullptr;
        if (shown.empty())
            return CalculateRow(*columns_, fields_, result_, /*fields_are_utf8=*/true, nullptr, check, numbers_);
        const SheetRow sheet{shown, replayed_ ? replayed_->line : reader_.RecordLine()};
        return CalculateRow(*columns_, fields_, result_, /*fields_are_utf8=*/true, &sheet, check, numbers_);
    }

    // The result columns; with the disconnection check, its columns before the message.
    void WriteResults(const LineResult& line) {
        const bool calculated = &line == &result_ && line.message.empty();
        const DisconnectionFields* check = !checks_disconnection_ ? nullptr
                                           : calculated           ? &disconnection_
                                                                  : &no_disconnection_;
        ResultTexts texts;
        writer_.Fields(std::span(texts).first(ResultFields(line, check, texts, corrects_)));
    }

    bool UnclosedQuote() {
        report_.status = Status::UnclosedQuote;
        report_.quote_line = reader_.RecordLine();
        return false;
    }

    TableReader& reader_;
    TextRecords* text_;                         // what a reader of text also tells; null for a spreadsheet
    DecimalSign numbers_ = DecimalSign::Comma;  // how the file writes its numbers
    TableWriter& writer_;
    const ScheduleEvents& events_;
    ScheduleReport report_;
    std::vector<std::string_view> fields_;
    std::optional<ColumnMap> columns_;
    std::size_t width_ = 0;
    std::uint64_t sheet_text_ = 0;  // the cell text of the rows read, from a spreadsheet
    LineResult result_;             // reused between rows, so that its strings keep their room
    const LineResult no_result_;
    std::deque<Held> held_;
    std::size_t next_held_ = 0;
    const Held* replayed_ = nullptr;  // the current record, when it was held
    std::optional<Result> pending_;   // what the reader gave after the held records
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
