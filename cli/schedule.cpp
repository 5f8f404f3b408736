#include "cli/schedule.h"

#include <algorithm>

#include "cli/csv.h"
#include "cli/table.h"
#include "core/number_text.h"
#include "core/protection.h"

namespace kelvo::cli {
namespace {

constexpr std::string_view kColumnNames[kColumnCount] = {"расчет",    "мощность_кВт", "ток_А",    "сечение_мм2",
                                                         "род_тока",  "напряжение_В", "материал", "проводник",
                                                         "прокладка", "длина_м",      "потери_%", "кратность"};

}  // namespace

std::string_view ColumnName(Column column) { return kColumnNames[static_cast<std::size_t>(column)]; }

const std::array<std::string_view, kResultCount>& ResultColumnNames() {
    // clang-format off
    static constexpr std::array<std::string_view, kResultCount> kNames = {
        "ток_А_расчет",        "мощность_кВт_расчет", "сечение_по_току_мм2",
        "сечение_по_потерям_мм2", "рекомендуемое_сечение_мм2", "основание",
        "ток_при_кратности_А", "автомат_А",           "УЗО_ток_А",
        "УЗО_дифток_мА",       "сообщение"};
    // clang-format on
    return kNames;
}

std::array<std::string_view, kResultCount> ResultFields(const LineResult& result) {
    using namespace std::string_view_literals;
    const std::string_view basis = result.basis == Basis::Current       ? "по длительному току"sv
                                   : result.basis == Basis::VoltageLoss ? "по потерям напряжения"sv
                                                                        : ""sv;
    return {result.current,
            result.power,
            result.section_by_current,
            result.section_by_loss,
            result.recommended,
            basis,
            result.current_at_multiplicity,
            result.breaker,
            result.rcd_rated,
            result.rcd_trip,
            result.message};
}

std::string NormalizedColumnName(std::string_view name) {
    if (name.starts_with("\xEF\xBB\xBF")) name.remove_prefix(3);
    name = Trim(name);
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const auto next = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
        } else if ((c == 0xD0 && next == 0x81) || (c == 0xD1 && next == 0x91)) {  // Ё, ё
            out += "е";
            ++i;
        } else if (c == 0xD0 && next >= 0x90 && next <= 0x9F) {  // А…П
            out += static_cast<char>(0xD0);
            out += static_cast<char>(next + 0x20);
            ++i;
        } else if (c == 0xD0 && next >= 0xA0 && next <= 0xAF) {  // Р…Я
            out += static_cast<char>(0xD1);
            out += static_cast<char>(next - 0x20);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

ColumnMap::ColumnMap(const std::vector<std::string_view>& header) {
    index_.fill(kAbsent);
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = NormalizedColumnName(header[i]);
        bool known = false;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            if (name != NormalizedColumnName(kColumnNames[c])) continue;
            known = true;
            if (index_[c] == kAbsent) index_[c] = i;
        }
        // The result columns of an earlier run are known too: they are carried, not misspelt.
        for (const std::string_view result : ResultColumnNames()) known |= name == NormalizedColumnName(result);
        if (!known && !name.empty()) unknown_.emplace_back(Trim(header[i]));
    }
}

std::optional<LayingMethod> LayingFromCode(std::string_view code) {
    // Typed on a Russian keyboard, "р" and "к" are Cyrillic letters that look the same.
    char letter = code.empty() ? '\0' : code.front();
    if (code.starts_with("р") || code.starts_with("к")) {
        letter = code.starts_with("р") ? 'p' : 'k';
        code.remove_prefix(std::string_view("р").size());
    } else {
        code.remove_prefix(code.empty() ? 0 : 1);
    }
    if ((letter != 'p' && letter != 'k') || code.size() != 1 || code[0] < '1' || code[0] > '9') return std::nullopt;
    const int number = code[0] - '0';
    if (letter == 'p') {
        if (number > 6) return std::nullopt;
        return static_cast<LayingMethod>(number - 1);
    }
    return static_cast<LayingMethod>(kWireLayingCount + static_cast<std::size_t>(number - 1));
}

bool CalculateRow(const ColumnMap& columns, const std::vector<std::string_view>& row, LineResult& out,
                  bool fields_are_utf8) {
    auto fail = [&](std::string_view message) {
        SetMessage(out, message);
        return false;
    };
    auto fail_naming = [&](const messages::NamingMessage& message, std::string_view named) {
        SetMessage(out, message, named);
        return false;
    };
    if (!fields_are_utf8)
        for (const std::string_view field : row)
            if (!IsValidUtf8(field)) return fail(messages::kNotUtf8);
    std::string_view missing;
    auto cell = [&](Column column, bool required) -> std::string_view {
        const std::size_t index = columns.IndexOf(column);
        if (index == ColumnMap::kAbsent) {
            if (required && missing.empty()) missing = ColumnName(column);
            return {};
        }
        return index < row.size() ? Trim(row[index]) : std::string_view{};
    };

    const std::string_view kind = cell(Column::Kind, false);
    const bool reverse = kind == "обратный";
    if (!kind.empty() && !reverse && kind != "прямой") return fail_naming(messages::kUnknownKind, kind);

    LineInput line;
    const std::string_view supply = cell(Column::Supply, true);
    const std::string_view voltage = cell(Column::Voltage, true);
    const std::string_view material = cell(Column::Material, true);
    const std::string_view conductor = cell(Column::Conductor, true);
    const std::string_view laying = cell(Column::Laying, true);
    const std::string_view multiplicity = cell(Column::Multiplicity, false);
    std::string_view load, length, loss, section;
    bool current_given = false;
    if (reverse) {
        section = cell(Column::Section, true);
    } else {
        const std::string_view power = cell(Column::Power, false);
        const std::string_view current = cell(Column::Current, false);
        if (columns.IndexOf(Column::Power) == ColumnMap::kAbsent &&
            columns.IndexOf(Column::Current) == ColumnMap::kAbsent && missing.empty())
            missing = ColumnName(Column::Power);
        if (!power.empty() && !current.empty()) return fail(messages::kPowerAndCurrent);
        current_given = power.empty() && !current.empty();
        load = current_given ? current : power;
        length = cell(Column::Length, true);
        loss = cell(Column::Loss, true);
    }
    if (!missing.empty()) return fail_naming(messages::kMissingColumn, missing);

    if (supply == "1ф")
        line.supply = SupplyKind::SinglePhase;
    else if (supply == "3ф")
        line.supply = SupplyKind::ThreePhase;
    else if (supply == "постоянный")
        line.supply = SupplyKind::DC;
    else
        return fail_naming(messages::kUnknownSupply, supply);

    if (material == "медь")
        line.conductor.material = Material::Copper;
    else if (material == "алюминий")
        line.conductor.material = Material::Aluminium;
    else
        return fail_naming(messages::kUnknownMaterial, material);

    if (conductor == "провод")
        line.conductor.kind = ConductorKind::Wire;
    else if (conductor == "кабель")
        line.conductor.kind = ConductorKind::Cable;
    else
        return fail_naming(messages::kUnknownConductor, conductor);

    line.conductor.laying = LayingFromCode(laying);
    if (!line.conductor.laying) return fail_naming(messages::kUnknownLaying, laying);

    line.voltage = voltage;
    line.multiplicity = multiplicity.empty() ? kDefaultMultiplicity : multiplicity;

    if (reverse) {
        CalculateReverse({line, section}, out);
    } else {
        line.length = length;
        line.loss_percent = loss;
        CalculateForward({line, current_given ? GivenLoad::Current : GivenLoad::Power, load}, out);
    }
    return out.message.empty();
}

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

}  // namespace kelvo::cli
