// One table for every material and laying method (thirty in all), built once at first use.
#pragma once

#include <array>
#include <cstddef>

#include "conductor.h"

namespace kelvo {

template <class Table>
class LayingTables {
public:
    static constexpr std::size_t kLayingCount = kWireLayingCount + kCableLayingCount;

    // build(Material, LayingMethod) -> Table
    template <class Build>
    explicit LayingTables(Build build) {
        for (std::size_t i = 0; i < kLayingCount; ++i) {
            const auto laying = static_cast<LayingMethod>(i);
            tables_[i] = build(Material::Copper, laying);
            tables_[kLayingCount + i] = build(Material::Aluminium, laying);
        }
    }

    const Table& Get(Material material, LayingMethod laying) const {
        const std::size_t offset = material == Material::Copper ? 0 : kLayingCount;
        return tables_[offset + static_cast<std::size_t>(laying)];
    }

private:
    std::array<Table, 2 * kLayingCount> tables_{};
};

}  // namespace kelvo
