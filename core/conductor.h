// The conductor configuration the rules are chosen by: supply, material, conductor kind and
// laying method. The laying methods are named by their codes in a cable schedule (p1…p6 for
// wires, k1…k9 for cables); the window maps its option buttons onto them by their order.
#pragma once

#include <cstddef>
#include <optional>

namespace kelvo {

enum class SupplyKind { DC, SinglePhase, ThreePhase };

enum class Material { Copper, Aluminium };

// Wire: insulated cores without a common sheath; cable: cores in a common sheath.
enum class ConductorKind { Wire, Cable };

// p1 open wire; p2..p4 two, three, four single-core wires closed; p5, p6 one two-core,
// one three-core wire closed ("closed": in a pipe, in ducts or bunched in a tray).
// k1 single-core cable in air; k2/k3 two-core, k4/k5 three-core, k6/k7 four-core,
// k8/k9 five-core, each pair in air / in ground.
enum class LayingMethod { p1, p2, p3, p4, p5, p6, k1, k2, k3, k4, k5, k6, k7, k8, k9 };

constexpr std::size_t kWireLayingCount = 6;
constexpr std::size_t kCableLayingCount = 9;

constexpr ConductorKind KindOf(LayingMethod laying) {
    return laying <= LayingMethod::p6 ? ConductorKind::Wire : ConductorKind::Cable;
}

// Position of a laying method within its own kind's group: p1..p6 -> 0..5,
// k1..k7 -> 0..6, k8 -> 7, k9 -> 8. This is also the table column.
constexpr std::size_t ColumnOf(LayingMethod laying) {
    const auto index = static_cast<std::size_t>(laying);
    return KindOf(laying) == ConductorKind::Wire ? index : index - kWireLayingCount;
}

constexpr bool IsFiveCore(LayingMethod laying) { return laying == LayingMethod::k8 || laying == LayingMethod::k9; }

// A complete configuration for the table rules. Any of the three may be unselected in the
// window; a laying method of the other kind's group does not count as selected.
struct ConductorChoice {
    std::optional<Material> material;
    std::optional<ConductorKind> kind;
    std::optional<LayingMethod> laying;
};

// The laying method that counts for the choice, or nothing when the choice is incomplete.
constexpr std::optional<LayingMethod> EffectiveLaying(const ConductorChoice& choice) {
    if (!choice.material || !choice.kind || !choice.laying) return std::nullopt;
    if (KindOf(*choice.laying) != *choice.kind) return std::nullopt;
    return choice.laying;
}

}  // namespace kelvo
