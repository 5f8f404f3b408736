#include "schedule/row.h"

#include "core/disconnection.h"
#include "core/result_codes.h"
#include "core/messages.h"
#include "core/number_text.h"
#include "core/protection.h"
#include "schedule/formats/text/utf8.h"
#include "schedule/shown_numbers.h"

namespace kelvo::schedule {
namespace {

// A row's cells as the calculation reads them: trimmed, empty where the row is short, and the
// first required column the header lacks.
class Cells {
public:
    Cells(const ColumnMap& columns, const std::vector<std::string_view>& row) : columns_(columns), row_(row) {}

    std::string_view Get(Column column, bool required) {
        const std::size_t index = columns_.IndexOf(column);
        if (index == ColumnMap::kAbsent) {
            if (required && missing_.empty()) missing_ = ColumnName(column);
            return {};
        }
        return index < row_.size() ? Trim(row_[index]) : std::string_view{};
    }
    std::size_t IndexOf(Column column) const { return columns_.IndexOf(column); }
    bool Has(Column column) const { return columns_.IndexOf(column) != ColumnMap::kAbsent; }
    std::string_view Missing() const { return missing_; }
    void SetMissing(Column column) {
        if (missing_.empty()) missing_ = ColumnName(column);
    }

private:
    const ColumnMap& columns_;
    const std::vector<std::string_view>& row_;
    std::string_view missing_;
};

// What a row says, before its codes are read.
struct RowTexts {
    bool reverse = false, current_given = false;
    std::string_view supply, voltage, material, conductor, laying, multiplicity;
    std::string_view load, length, loss, section;
    std::string_view ambient, cables, distance;  // the laying conditions
};

// The message a row's codes get, and the code for `named` put in `line`; empty when all are known.
struct CodeFault {
    const messages::NamingMessage* message = nullptr;
    std::string_view named;
};

CodeFault ReadCodes(const RowTexts& texts, LineInput& line) {
    if (SameCode(texts.supply, "1ф"))
        line.supply = SupplyKind::SinglePhase;
    else if (SameCode(texts.supply, "3ф"))
        line.supply = SupplyKind::ThreePhase;
    else if (SameCode(texts.supply, "постоянный"))
        line.supply = SupplyKind::DC;
    else
        return {&messages::kUnknownSupply, texts.supply};

    if (SameCode(texts.material, "медь"))
        line.conductor.material = Material::Copper;
    else if (SameCode(texts.material, "алюминий"))
        line.conductor.material = Material::Aluminium;
    else
        return {&messages::kUnknownMaterial, texts.material};

    if (SameCode(texts.conductor, "провод"))
        line.conductor.kind = ConductorKind::Wire;
    else if (SameCode(texts.conductor, "кабель"))
        line.conductor.kind = ConductorKind::Cable;
    else
        return {&messages::kUnknownConductor, texts.conductor};

    line.conductor.laying = LayingFromCode(texts.laying);
    if (!line.conductor.laying) return {&messages::kUnknownLaying, texts.laying};
    return {};
}

// The multiplicity as the list writes it when its value is one of the list's ("1,00" is "1").
std::string_view ListedMultiplicity(std::string_view text) {
    const auto list = MultiplicityList();
    for (const std::string_view listed : list)
        if (text == listed) return listed;
    const auto value = ReadNumber(text);
    if (!value) return text;
    for (const std::string_view listed : list)
        if (ReadNumber(listed) == value) return listed;
    return text;
}

// The first cell the calculation reads that the sheet shows as something else than its text:
// its message and the cell's name. The loss column's percent is the percent shown (its text).
CodeFault SheetCellFault(const Cells& cells, const SheetRow& sheet, std::string& named) {
    struct Read {
        Column column;
        bool number;  // read as a number
    };
    // clang-format off
    static constexpr Read kRead[] = {
        {Column::Kind, false},     {Column::Power, true},      {Column::Current, true},  {Column::Section, true},
        {Column::Supply, false},   {Column::Voltage, true},    {Column::Material, false}, {Column::Conductor, false},
        {Column::Laying, false},   {Column::Length, true},     {Column::Loss, true},     {Column::Multiplicity, true},
        {Column::Ambient, true},   {Column::CablesNearby, true}, {Column::CableDistance, true}};
    // clang-format on
    for (const Read& r : kRead) {
        const std::size_t index = cells.IndexOf(r.column);
        if (index == ColumnMap::kAbsent || index >= sheet.shown.size()) continue;
        const CellShown shown = sheet.shown[index];
        const messages::NamingMessage* message = nullptr;
        if (shown == CellShown::FormulaWithoutValue) message = &messages::kCellFormula;
        if (shown == CellShown::Error) message = &messages::kCellError;
        if (shown == CellShown::MergedAcross) message = &messages::kCellMergedAcross;
        if (r.number && shown == CellShown::Date) message = &messages::kCellDate;
        if (r.number && shown == CellShown::Percent && r.column != Column::Loss) message = &messages::kCellPercent;

        if (!message) continue;
        named = CellReference(index, sheet.number);
        return {message, named};
    }
    return {};
}

// The row's number texts as the calculation reads them (a loss shown with its percent sign,
// thousands grouped by spaces); false, with the message naming the column and the value, for a
// text that is no number.
bool ReadNumbers(RowTexts& texts, DecimalSign sign, LineResult& out) {
    thread_local std::string shown[8], message;  // kept from row to row: no allocation per row
    struct Number {
        Column column;
        std::string_view* text;
    };
    const Number numbers[] = {
        {Column::Voltage, &texts.voltage},     {texts.current_given ? Column::Current : Column::Power, &texts.load},
        {Column::Length, &texts.length},       {Column::Loss, &texts.loss},
        {Column::Section, &texts.section},     {Column::Ambient, &texts.ambient},
        {Column::CablesNearby, &texts.cables}, {Column::CableDistance, &texts.distance}};
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        const ShownNumber read = ReadShownNumber(numbers[i].column, *numbers[i].text, sign, shown[i]);
        if (read == ShownNumber::Read) *numbers[i].text = shown[i];
        if (read == ShownNumber::Plain || read == ShownNumber::Read) continue;
        NumberCellMessage(read, numbers[i].column, *numbers[i].text, message);
        SetMessage(out, message);
        return false;
    }
    return true;
}

}  // namespace

// The disconnection check of a calculated row into `fields`; the message of a figure that cannot
// be read, or none.
CodeFault CheckRowDisconnection(Cells& cells, const RowTexts& texts, const LineInput& line, const LineResult& out,
                                DisconnectionFields& fields) {
    const std::string_view upstream = cells.Get(Column::UpstreamImpedance, false);
    if (upstream.empty()) return {};
    const std::string_view characteristic_text = cells.Get(Column::Characteristic, false);
    const std::string_view pe_text = cells.Get(Column::PeSection, false);
    const auto impedance = ReadNumber(upstream);
    if (!impedance || *impedance < 0) return {&messages::kBadUpstreamImpedance, upstream};
    const auto characteristic = ReadTripCharacteristic(characteristic_text);
    if (!characteristic) return {&messages::kUnknownCharacteristic, characteristic_text};
    const auto pe = pe_text.empty() ? std::optional<double>(0) : ReadNumber(pe_text);
    if (!pe || (!pe_text.empty() && !(*pe > 0))) return {&messages::kBadPeSection, pe_text};
    DisconnectionLine checked;
    checked.supply = line.supply;
    checked.material = *line.conductor.material;
    checked.laying = *line.conductor.laying;
    checked.voltage = texts.voltage;
    checked.section = texts.reverse ? texts.section : std::string_view(out.recommended);
    checked.length = texts.reverse ? cells.Get(Column::Length, false) : texts.length;
    checked.breaker = out.breaker;
    checked.upstream_impedance = *impedance;
    checked.pe_section = *pe;
    checked.characteristic = *characteristic;
    DescribeDisconnection(checked, fields);
    return {};
}

bool CalculateRow(const ColumnMap& columns, const std::vector<std::string_view>& row, LineResult& out,
                  bool fields_are_utf8, const SheetRow* sheet, DisconnectionFields* disconnection,
                  DecimalSign numbers) {
    if (disconnection) disconnection->Clear();
    const auto fail = [&](std::string_view message) {
        SetMessage(out, message);
        return false;
    };
    if (!fields_are_utf8)
        for (const std::string_view field : row)
            if (!IsValidUtf8(field)) return fail(messages::kNotUtf8);
    Cells cells(columns, row);
    RowTexts texts;
    const std::string_view kind = cells.Get(Column::Kind, false);
    texts.reverse = SameCode(kind, "обратный");
    if (!kind.empty() && !texts.reverse && !SameCode(kind, "прямой"))
        return SetMessage(out, messages::kUnknownKind, kind), false;

    texts.supply = cells.Get(Column::Supply, true);
    texts.voltage = cells.Get(Column::Voltage, true);
    texts.material = cells.Get(Column::Material, true);
    texts.conductor = cells.Get(Column::Conductor, true);
    texts.laying = cells.Get(Column::Laying, true);
    texts.multiplicity = cells.Get(Column::Multiplicity, false);
    texts.ambient = cells.Get(Column::Ambient, false);
    texts.cables = cells.Get(Column::CablesNearby, false);
    texts.distance = cells.Get(Column::CableDistance, false);
    if (texts.reverse) {
        texts.section = cells.Get(Column::Section, true);
    } else {
        const std::string_view power = cells.Get(Column::Power, false);
        const std::string_view current = cells.Get(Column::Current, false);
        if (!cells.Has(Column::Power) && !cells.Has(Column::Current)) cells.SetMissing(Column::Power);
        if (!power.empty() && !current.empty()) return fail(messages::kPowerAndCurrent);
        texts.current_given = power.empty() && !current.empty();
        texts.load = texts.current_given ? current : power;
        texts.length = cells.Get(Column::Length, true);
        texts.loss = cells.Get(Column::Loss, true);
    }
    if (!cells.Missing().empty()) return SetMessage(out, messages::kMissingColumn, cells.Missing()), false;
    if (sheet) {
        std::string named;
        if (const CodeFault fault = SheetCellFault(cells, *sheet, named); fault.message)
            return SetMessage(out, *fault.message, fault.named), false;
    }

    LineInput line;
    if (const CodeFault fault = ReadCodes(texts, line); fault.message)
        return SetMessage(out, *fault.message, fault.named), false;
    if (!ReadNumbers(texts, numbers, out)) return false;
    line.voltage = texts.voltage;
    line.multiplicity = texts.multiplicity.empty() ? kDefaultMultiplicity : ListedMultiplicity(texts.multiplicity);
    line.conditions = {texts.ambient, texts.cables, texts.distance};
    if (texts.reverse) {
        CalculateReverse({line, texts.section}, out);
    } else {
        line.length = texts.length;
        line.loss_percent = texts.loss;
        CalculateForward({line, texts.current_given ? GivenLoad::Current : GivenLoad::Power, texts.load}, out);
    }
    // A schedule that names the laying conditions gets the factor on every calculated row, 1 where
    // the row gives none.
    if (columns.HasConditions() && out.message.empty() && out.correction.empty()) out.correction = "1";
    if (disconnection && out.message.empty() && columns.ChecksDisconnection()) {
        if (const CodeFault fault = CheckRowDisconnection(cells, texts, line, out, *disconnection); fault.message) {
            disconnection->Clear();
            return SetMessage(out, *fault.message, fault.named), false;
        }
    }
    return out.message.empty();
}

}  // namespace kelvo::schedule
