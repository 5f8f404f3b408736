#include "voltage_loss.h"

#include <array>
#include <cmath>

#include "number_text.h"
#include "result_codes.h"

namespace kelvo {
namespace {

struct LadderStep {
    std::string_view section;
    double bound;  // each step reaches 0,01 or 0,1 above its section
};

// clang-format off
constexpr LadderStep kLadder[] = {
    {"0,5", 0.51}, {"0,75", 0.76}, {"1", 1.1},     {"1,5", 1.51},   {"2,5", 2.51},
    {"4", 4.1},    {"6", 6.1},     {"10", 10.1},   {"16", 16.1},    {"25", 25.1},
    {"35", 35.1},  {"50", 50.1},   {"70", 70.1},   {"95", 95.1},    {"120", 120.1},
    {"150", 150.1}, {"185", 185.1}, {"240", 240.1}, {"300", 300.1}, {"400", 400.1},
};
// clang-format on

struct LadderCut {
    std::string_view smallest;
    std::string_view largest;
    double limit;  // the exceed marker is given up to here
};

// The tables cut from the ladder.
constexpr LadderCut kCopperWireOpen = {"0,5", "400", 203300};        // p1
constexpr LadderCut kCopperWire2or3 = {"1", "150", 203300};          // p2, p3
constexpr LadderCut kCopperWireOther = {"1", "120", 203300};         // p4, p5, p6
constexpr LadderCut kAluminiumWireOpen = {"2,5", "400", 203300};     // p1
constexpr LadderCut kAluminiumWire2or3 = {"2,5", "150", 203300};     // p2, p3
constexpr LadderCut kAluminiumWireOther = {"2,5", "120", 203300};    // p4, p5, p6
constexpr LadderCut kCopperCableSingle = {"1,5", "240", 227000};     // k1
constexpr LadderCut kCopperCableMulti = {"1,5", "185", 227000};      // k2..k7
constexpr LadderCut kAluminiumCableSingle = {"2,5", "240", 227000};  // k1
constexpr LadderCut kAluminiumCableMulti = {"2,5", "185", 227000};   // k2..k7

// The five-core tables have no allowance: each bound is the section itself.
constexpr std::string_view kFiveCoreSections[] = {"1,5", "2,5", "4",  "6",   "10",  "16",  "25", "35",
                                                  "50",  "70",  "95", "120", "150", "185", "240"};
constexpr double kFiveCoreLimit = 222350.099;

LossTable Cut(const LadderCut& cut) {
    LossTable table;
    bool inside = false;
    for (const auto& step : kLadder) {
        inside = inside || step.section == cut.smallest;
        if (inside) table.Add(0, step.bound, TableNumber(step.section));
        if (step.section == cut.largest) break;
    }
    table.Add(0, cut.limit, TableNumber(kExceedMarker));
    return table;
}

LossTable FiveCore(std::string_view smallest) {
    LossTable table;
    bool inside = false;
    for (const auto section : kFiveCoreSections) {
        inside = inside || section == smallest;
        if (inside) {
            const TableNumber size(section);
            table.Add(0, size.value, size);
        }
    }
    table.Add(0, kFiveCoreLimit, TableNumber(kExceedMarker));
    return table;
}

struct AllTables {
    LossTable copper_wire_open = Cut(kCopperWireOpen);
    LossTable copper_wire_2or3 = Cut(kCopperWire2or3);
    LossTable copper_wire_other = Cut(kCopperWireOther);
    LossTable aluminium_wire_open = Cut(kAluminiumWireOpen);
    LossTable aluminium_wire_2or3 = Cut(kAluminiumWire2or3);
    LossTable aluminium_wire_other = Cut(kAluminiumWireOther);
    LossTable copper_cable_single = Cut(kCopperCableSingle);
    LossTable copper_cable_multi = Cut(kCopperCableMulti);
    LossTable aluminium_cable_single = Cut(kAluminiumCableSingle);
    LossTable aluminium_cable_multi = Cut(kAluminiumCableMulti);
    LossTable copper_five_core = FiveCore("1,5");
    LossTable aluminium_five_core = FiveCore("2,5");
};

}  // namespace

std::optional<double> RequiredSection(const LineData& line, SupplyKind supply, Material material) {
    const double factor = supply == SupplyKind::ThreePhase ? std::pow(10.0, 5) : 2 * std::pow(10.0, 5);
    const double resistivity = material == Material::Copper ? kCopperResistivity : kAluminiumResistivity;
    const double conductivity = 1 / resistivity;
    const double numerator = factor * line.power_kw * line.length_m;
    const double denominator = conductivity * (line.loss_percent * std::pow(line.voltage, 2));
    if (denominator == 0) return std::nullopt;
    const double section = numerator / denominator;
    if (!std::isfinite(section)) return std::nullopt;
    return section;
}

const LossTable* VoltageLossTable(const ConductorChoice& choice) {
    static const AllTables t;
    const auto laying = EffectiveLaying(choice);
    if (!laying) return nullptr;
    const bool copper = *choice.material == Material::Copper;
    using L = LayingMethod;
    switch (*laying) {
        case L::p1:
            return copper ? &t.copper_wire_open : &t.aluminium_wire_open;
        case L::p2:
        case L::p3:
            return copper ? &t.copper_wire_2or3 : &t.aluminium_wire_2or3;
        case L::p4:
        case L::p5:
        case L::p6:
            return copper ? &t.copper_wire_other : &t.aluminium_wire_other;
        case L::k1:
            return copper ? &t.copper_cable_single : &t.aluminium_cable_single;
        case L::k8:
        case L::k9:
            return copper ? &t.copper_five_core : &t.aluminium_five_core;
        default:
            return copper ? &t.copper_cable_multi : &t.aluminium_cable_multi;
    }
}

std::string SelectSectionByVoltageLoss(std::string_view required, const ConductorChoice& choice) {
    // An empty or unreadable box (after a change of the length, or a reset) selects nothing.
    const auto section = ReadNumber(required);
    if (!section) return {};
    return std::string(SelectSectionByVoltageLoss(*section, choice).text);
}

TableNumber SelectSectionByVoltageLoss(double required, const ConductorChoice& choice) {
    const LossTable* table = VoltageLossTable(choice);
    if (!table) return {};
    const auto* row = table->Find(required);
    return row ? row->result : TableNumber{};
}

std::optional<VoltageFigures> ComputeVoltageFigures(std::string_view loss_percent, std::string_view voltage) {
    const auto loss = ReadNumber(loss_percent);
    const auto volts = ReadNumber(voltage);
    if (!loss || !volts) return std::nullopt;
    const double loss_volts = *loss * *volts / 100;
    const auto shown_loss = Fixed4::FromDouble(loss_volts);
    const auto shown_remaining = Fixed4::FromDouble(*volts - loss_volts);
    if (!shown_loss || !shown_remaining) return std::nullopt;
    return VoltageFigures{shown_loss->Text(), shown_remaining->Text()};
}

std::string VoltageHint(std::string_view voltage, std::string_view loss_percent, std::string_view remaining_volts) {
    std::string hint = "Номинальное напряжение ";
    hint += voltage;
    hint += " В при ";
    hint += loss_percent;
    hint += " % потерь составит ";
    hint += remaining_volts;
    hint += " В";
    return hint;
}

}  // namespace kelvo
