#include "cli/schedule.h"

#include <algorithm>

#include "cli/csv.h"
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
    return kNames;
}

std::array<std::string_view, kResultCount> ResultFields(const LineResult& result) {
    const std::string_view basis = result.basis == Basis::Current       ? "по длительному току"
                                   : result.basis == Basis::VoltageLoss ? "по потерям напряжения"
                                                                        : "";
    return {result.current, result.power, result.section_by_current, result.section_by_loss,
            result.recommended, basis, result.current_at_multiplicity, result.breaker,
            result.rcd_rated, result.rcd_trip, result.message};
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
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = NormalizedColumnName(header[i]);
        bool known = false;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            if (name != NormalizedColumnName(kColumnNames[c])) continue;
            known = true;
            if (!index_[c]) index_[c] = i;
        }
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

bool CalculateRow(const ColumnMap& columns, const std::vector<std::string_view>& row, LineResult& out) {
    auto fail = [&](std::string message) {
        out = Failed(std::move(message));
        return false;
    };
    // clang-format on
    for (const std::string_view field : row)
        if (!IsValidUtf8(field)) return fail(messages::kNotUtf8);
    std::string_view missing;
    auto cell = [&](Column column, bool required) -> std::string_view {
        const auto index = columns.IndexOf(column);
        if (!index) {
            if (required && missing.empty()) missing = ColumnName(column);
            return {};
        }
        return *index < row.size() ? Trim(row[*index]) : std::string_view{};
    };

    const std::string_view kind = cell(Column::Kind, false);
    const bool reverse = kind == "обратный";
    if (!kind.empty() && !reverse && kind != "прямой") return fail(messages::UnknownKind(kind));

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
        if (!columns.IndexOf(Column::Power) && !columns.IndexOf(Column::Current) && missing.empty())
            missing = ColumnName(Column::Power);
        if (!power.empty() && !current.empty()) return fail(messages::kPowerAndCurrent);
        current_given = power.empty() && !current.empty();
        load = current_given ? current : power;
        length = cell(Column::Length, true);
        loss = cell(Column::Loss, true);
    }
    if (!missing.empty()) return fail(messages::MissingColumn(missing));

    if (supply == "1ф")
        line.supply = SupplyKind::SinglePhase;
    else if (supply == "3ф")
        line.supply = SupplyKind::ThreePhase;
    else if (supply == "постоянный")
        line.supply = SupplyKind::DC;
    else
        return fail(messages::UnknownSupply(supply));

    if (material == "медь")
        line.conductor.material = Material::Copper;
    else if (material == "алюминий")
        line.conductor.material = Material::Aluminium;
    else
        return fail(messages::UnknownMaterial(material));

    if (conductor == "провод")
        line.conductor.kind = ConductorKind::Wire;
    else if (conductor == "кабель")
        line.conductor.kind = ConductorKind::Cable;
    else
        return fail(messages::UnknownConductor(conductor));

    line.conductor.laying = LayingFromCode(laying);
    if (!line.conductor.laying) return fail(messages::UnknownLaying(laying));

    line.voltage = voltage;
    line.multiplicity = multiplicity.empty() ? kDefaultMultiplicity : multiplicity;

    if (reverse) {
        out = CalculateReverse({std::move(line), std::string(section)});
    } else {
        line.length = length;
        line.loss_percent = loss;
        out = CalculateForward(
            {std::move(line), current_given ? GivenLoad::Current : GivenLoad::Power, std::string(load)});
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

ScheduleReport ProcessSchedule(std::istream& in, std::ostream& out, const ScheduleEvents& events) {
    ScheduleReport report;
    CsvReader reader(in);
    std::vector<std::string_view> fields;
    switch (reader.Next(fields)) {
        case CsvReader::Result::Record:
            break;
        case CsvReader::Result::End:
            report.status = ScheduleReport::Status::NoHeader;
            return report;
        case CsvReader::Result::TooLong:
            report.status = ScheduleReport::Status::HeaderTooLong;
            return report;
        case CsvReader::Result::UnclosedQuote:
            report.status = ScheduleReport::Status::UnclosedQuote;
            report.quote_line = reader.RecordLine();
            return report;
    }
    const ColumnMap columns(fields);
    if (events.on_unknown_column)
        for (const std::string& name : columns.Unknown()) events.on_unknown_column(name);
    const std::size_t width = fields.size();
    CsvWriter writer(out);
    for (const std::string_view field : fields) writer.Field(field);
    writer.Record(ResultColumnNames());

    LineResult result;  // reused between rows, so that its strings keep their room
    const LineResult no_result;
    auto write_results = [&](const LineResult& line) {
        for (const std::string_view field : ResultFields(line)) writer.Field(field);
    };
    for (bool reading = true; reading;) {
        bool calculated = true;
        switch (reader.Next(fields)) {
            case CsvReader::Result::End:
                reading = false;
                continue;
            case CsvReader::Result::UnclosedQuote:
                report.status = ScheduleReport::Status::UnclosedQuote;
                report.quote_line = reader.RecordLine();
                return report;
            case CsvReader::Result::TooLong: {
                // The row's own bytes go through unchanged, the message under its heading.
                result = Failed(messages::kTooLongRow);
                const auto passed = reader.PassThrough([&](std::string_view bytes) { writer.Raw(bytes); }, width,
                                                       [&] { write_results(result); });
                if (passed.unclosed_quote) {
                    report.status = ScheduleReport::Status::UnclosedQuote;
                    report.quote_line = reader.RecordLine();
                    return report;
                }
                for (std::size_t i = passed.fields; i < width; ++i) writer.Field({});
                if (passed.fields <= width) write_results(result);
                calculated = false;
                break;
            }
            case CsvReader::Result::Record: {
                // Empty fields beyond the header's width hold nothing to keep.
                std::size_t count = fields.size();
                while (count > width && fields[count - 1].empty()) --count;
                const bool blank = AllBlank(fields, count);
                if (blank) {
                } else if (count > width) {
                    result = Failed(messages::kSurplusFields);
                    calculated = false;
                } else {
                    calculated = CalculateRow(columns, fields, result);
                }
                const std::size_t shown = std::min(count, width);
                for (std::size_t i = 0; i < shown; ++i) writer.Field(fields[i]);
                for (std::size_t i = shown; i < width; ++i) writer.Field({});
                write_results(blank ? no_result : result);
                for (std::size_t i = width; i < count; ++i) writer.Field(fields[i]);
                break;
            }
        }
        writer.EndRecord();
        ++report.rows;
        if (!calculated) {
            ++report.rows_with_message;
            report.status = ScheduleReport::Status::SomeMessages;
        }
        if (events.on_row) events.on_row(report.rows);
    }
    return report;
}

}  // namespace kelvo::cli
