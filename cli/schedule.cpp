#include "cli/schedule.h"

#include "cli/csv.h"
#include "core/number_text.h"

namespace kelvo::cli {
namespace {

constexpr std::string_view kColumnNames[kColumnCount] = {
    "расчет", "мощность_кВт", "ток_А", "сечение_мм2", "род_тока", "напряжение_В",
    "материал", "проводник", "прокладка", "длина_м", "потери_%", "кратность"};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}


}  // namespace

std::string_view ColumnName(Column column) { return kColumnNames[static_cast<std::size_t>(column)]; }

const std::array<std::string_view, kResultCount>& ResultColumnNames() {
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

ColumnMap::ColumnMap(const std::vector<std::string_view>& header) {
    for (std::size_t i = 0; i < header.size(); ++i)
        for (std::size_t c = 0; c < kColumnCount; ++c)
            if (Trim(header[i]) == kColumnNames[c] && !index_[c]) index_[c] = i;
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

namespace {

LineResult Failed(std::string message) {
    LineResult result;
    result.message = std::move(message);
    return result;
}

}  // namespace

bool CalculateRow(const ColumnMap& columns, const std::vector<std::string_view>& row, LineResult& out) {
    auto fail = [&](std::string message) {
        out = Failed(std::move(message));
        return false;
    };
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
    if (!kind.empty() && !reverse && kind != "прямой")
        return fail(messages::UnknownKind(kind));

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
        if (!power.empty() && !current.empty())
            return fail(messages::kPowerAndCurrent);
        current_given = power.empty() && !current.empty();
        load = current_given ? current : power;
        length = cell(Column::Length, true);
        loss = cell(Column::Loss, true);
    }
    if (!missing.empty()) return fail(messages::MissingColumn(missing));

    if (supply == "1ф") line.supply = SupplyKind::SinglePhase;
    else if (supply == "3ф") line.supply = SupplyKind::ThreePhase;
    else if (supply == "постоянный") line.supply = SupplyKind::DC;
    else return fail(messages::UnknownSupply(supply));

    if (material == "медь") line.conductor.material = Material::Copper;
    else if (material == "алюминий") line.conductor.material = Material::Aluminium;
    else return fail(messages::UnknownMaterial(material));

    if (conductor == "провод") line.conductor.kind = ConductorKind::Wire;
    else if (conductor == "кабель") line.conductor.kind = ConductorKind::Cable;
    else return fail(messages::UnknownConductor(conductor));

    line.conductor.laying = LayingFromCode(laying);
    if (!line.conductor.laying)
        return fail(messages::UnknownLaying(laying));

    line.voltage = voltage;
    line.multiplicity = multiplicity.empty() ? std::string_view("1") : multiplicity;

    if (reverse) {
        out = CalculateReverse({std::move(line), std::string(section)});
    } else {
        line.length = length;
        line.loss_percent = loss;
        if (!ReadNumber(line.multiplicity)) return fail(messages::kDecimalComma);
        out = CalculateForward({std::move(line), current_given ? GivenLoad::Current : GivenLoad::Power, std::string(load)});
    }
    return out.message.empty();
}

ScheduleStatus ProcessSchedule(std::istream& in, std::ostream& out,
                               const std::function<void(std::size_t)>& on_row) {
    CsvReader reader(in);
    std::vector<std::string_view> fields;
    if (reader.Next(fields) != CsvReader::Result::Record) return ScheduleStatus::NoHeader;
    const ColumnMap columns(fields);
    CsvWriter writer(out);
    for (const std::string_view field : fields) writer.Field(field);
    writer.Record(ResultColumnNames());

    std::size_t rows = 0;
    bool all_calculated = true;
    LineResult result;  // reused between rows, so that its strings keep their room
    for (;;) {
        const auto status = reader.Next(fields);
        if (status == CsvReader::Result::End) break;
        if (status == CsvReader::Result::TooLong) {
            result = Failed(messages::kTooLongRowOld);
            all_calculated = false;
        } else {
            all_calculated &= CalculateRow(columns, fields, result);
        }
        for (const std::string_view field : fields) writer.Field(field);
        writer.Record(ResultFields(result));
        if (on_row) on_row(++rows);
    }
    return all_calculated ? ScheduleStatus::AllCalculated : ScheduleStatus::SomeMessages;
}

}  // namespace kelvo::cli
