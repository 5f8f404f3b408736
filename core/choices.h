// The choices the calculation offers as lists: the rated voltages of each supply kind, the one
// shown first among them.
#pragma once

#include <array>
#include <string_view>

#include "core/conductor.h"

namespace kelvo {

struct VoltageChoice {
    std::string_view shown;                // the voltage set when the supply kind is chosen
    std::array<std::string_view, 4> list;  // the list offered
};

constexpr VoltageChoice VoltagesFor(SupplyKind supply) {
    switch (supply) {
        case SupplyKind::DC:
            return {"12", {"220", "110", "36", "12"}};
        case SupplyKind::SinglePhase:
            return {"220", {"220", "127", "36", "12"}};
        case SupplyKind::ThreePhase:
            break;
    }
    return {"380", {"380", "220", "127", "120"}};
}

}  // namespace kelvo
