#include "cross_section_list.h"

namespace kelvo {
namespace {

constexpr std::string_view kCopperWire[] = {"0,5", "0,75", "1",  "1,5", "2,5", "4",   "6",   "10",  "16",  "25",
                                            "35",  "50",   "70", "95",  "120", "150", "185", "240", "300", "400"};
constexpr std::string_view kAluminiumWire[] = {"2,5", "3",  "4",   "6",   "10",  "16",  "25",  "35", "50",
                                               "70",  "95", "120", "150", "185", "240", "300", "400"};
constexpr std::string_view kCopperCable[] = {"1,5", "2,5", "4",  "6",   "10",  "16",  "25", "35",
                                             "50",  "70",  "95", "120", "150", "185", "240"};
constexpr std::string_view kAluminiumCable[] = {"2,5", "4",  "6",  "10",  "16",  "25",  "35",
                                                "50",  "70", "95", "120", "150", "185", "240"};

}  // namespace

std::span<const std::string_view> CrossSectionList(Material material, ConductorKind kind) {
    using List = std::span<const std::string_view>;
    const bool copper = material == Material::Copper;
    if (kind == ConductorKind::Wire) return copper ? List(kCopperWire) : List(kAluminiumWire);
    return copper ? List(kCopperCable) : List(kAluminiumCable);
}

}  // namespace kelvo
