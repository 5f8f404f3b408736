#include "schedule/row.h"

#include "core/messages.h"
#include "core/number_text.h"
#include "core/protection.h"
#include "schedule/formats/utf8.h"

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
};

// The message a row's codes get, and the code for `named` put in `line`; empty when all are known.
struct CodeFault {
    const messages::NamingMessage* message = nullptr;
    std::string_view named;
};

CodeFault ReadCodes(const RowTexts& texts, LineInput& line) {
    if (texts.supply == "1ф")
        line.supply = SupplyKind::SinglePhase;
    else if (texts.supply == "3ф")
        line.supply = SupplyKind::ThreePhase;
    else if (texts.supply == "постоянный")
        line.supply = SupplyKind::DC;
    else
        return {&messages::kUnknownSupply, texts.supply};

    if (texts.material == "медь")
        line.conductor.material = Material::Copper;
    else if (texts.material == "алюминий")
        line.conductor.material = Material::Aluminium;
    else
        return {&messages::kUnknownMaterial, texts.material};

    if (texts.conductor == "провод")
        line.conductor.kind = ConductorKind::Wire;
    else if (texts.conductor == "кабель")
        line.conductor.kind = ConductorKind::Cable;
    else
        return {&messages::kUnknownConductor, texts.conductor};

    line.conductor.laying = LayingFromCode(texts.laying);
    if (!line.conductor.laying) return {&messages::kUnknownLaying, texts.laying};
    return {};
}

}  // namespace

bool CalculateRow(const ColumnMap& columns, const std::vector<std::string_view>& row, LineResult& out,
                  bool fields_are_utf8) {
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
    texts.reverse = kind == "обратный";
    if (!kind.empty() && !texts.reverse && kind != "прямой")
        return SetMessage(out, messages::kUnknownKind, kind), false;

    texts.supply = cells.Get(Column::Supply, true);
    texts.voltage = cells.Get(Column::Voltage, true);
    texts.material = cells.Get(Column::Material, true);
    texts.conductor = cells.Get(Column::Conductor, true);
    texts.laying = cells.Get(Column::Laying, true);
    texts.multiplicity = cells.Get(Column::Multiplicity, false);
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

    LineInput line;
    if (const CodeFault fault = ReadCodes(texts, line); fault.message)
        return SetMessage(out, *fault.message, fault.named), false;
    line.voltage = texts.voltage;
    line.multiplicity = texts.multiplicity.empty() ? kDefaultMultiplicity : texts.multiplicity;
    if (texts.reverse) {
        CalculateReverse({line, texts.section}, out);
    } else {
        line.length = texts.length;
        line.loss_percent = texts.loss;
        CalculateForward({line, texts.current_given ? GivenLoad::Current : GivenLoad::Power, texts.load}, out);
    }
    return out.message.empty();
}

}  // namespace kelvo::schedule
