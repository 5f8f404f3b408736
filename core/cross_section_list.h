// The cross-sections offered for the reverse calculation, by material and conductor kind.
#pragma once

#include <span>
#include <string_view>

#include "conductor.h"

namespace kelvo {

std::span<const std::string_view> CrossSectionList(Material material, ConductorKind kind);

}  // namespace kelvo
