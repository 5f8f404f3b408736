// The size of a sheet as spreadsheets have it, and the most a cell and a row may hold: what every
// spreadsheet format is read and written within.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvo::schedule {

inline constexpr std::uint64_t kSheetRowsMax = 1048576;
inline constexpr std::uint64_t kSheetColumnsMax = 16384;  // "XFD"
inline constexpr std::size_t kSheetRowBytesMax = std::size_t{16} << 20;
inline constexpr std::size_t kCellCharactersMax = 32767;

}  // namespace kelvo::schedule
