// A cable schedule's columns: the input columns found in a header by their names as a person
// writes them, the result columns added on the right, and the laying codes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/conductor.h"
#include "core/disconnection.h"
#include "core/line_calculation.h"

namespace kelvo::schedule {

// Input columns, by their header names.
enum class Column {
    Kind,          // "расчет": "прямой" (default) or "обратный"
    Power,         // "мощность_кВт"
    Current,       // "ток_А"
    Section,       // "сечение_мм2"
    Supply,        // "род_тока": "1ф", "3ф", "постоянный"
    Voltage,       // "напряжение_В"
    Material,      // "материал": "медь", "алюминий"
    Conductor,     // "проводник": "провод", "кабель"
    Laying,        // "прокладка": p1…p6, k1…k9
    Length,        // "длина_м"
    Loss,          // "потери_%"
    Multiplicity,  // "кратность" (default "1")
    // The disconnection check at the line's end, on rows that give the upstream loop impedance.
    UpstreamImpedance,  // "сопротивление_петли_Ом": Z_up, Ω
    Characteristic,     // "характеристика": the breaker's B, C, D (default C)
    PeSection,          // "сечение_PE_мм2": the protective conductor (default: the phase's)
    // The laying conditions (core/laying_conditions.h); empty: the tables' own.
    Ambient,        // "температура_среды_С"
    CablesNearby,   // "число_кабелей_рядом": working cables side by side in the ground
    CableDistance,  // "расстояние_между_кабелями_мм"
};
inline constexpr std::size_t kColumnCount = 18;

std::string_view ColumnName(Column column);

// A row's disconnection check as written (empty where the row has none).
using DisconnectionFields = DisconnectionTexts;

// The result columns appended to every row, in the order they are written: the line's figures,
// the correction factor (only when the schedule has a laying conditions' column), the
// disconnection check's (only when it has the upstream loop impedance column), the message last.
// Each takes its text from the row's result or its check.
enum class ResultGroup { Line, Correction, Disconnection };
struct ResultColumn {
    std::string_view name;
    ResultGroup group;
    std::string_view (*text)(const LineResult& line, const DisconnectionFields& check);
};
inline constexpr std::size_t kResultCount = 11;        // without the optional groups
inline constexpr std::size_t kCorrectionCount = 1;     // the laying conditions' factor
inline constexpr std::size_t kDisconnectionCount = 5;  // the check's
inline constexpr std::size_t kResultColumnsMax = kResultCount + kCorrectionCount + kDisconnectionCount;
const std::array<ResultColumn, kResultColumnsMax>& ResultColumns();
using ResultTexts = std::array<std::string_view, kResultColumnsMax>;
// The names of the result columns written, into `names`: how many there are.
std::size_t ResultColumnNames(bool with_disconnection, ResultTexts& names, bool with_correction = false);
// A row's result texts, into `texts` (views into the result and the check): how many there are.
std::size_t ResultFields(const LineResult& line, const DisconnectionFields* check, ResultTexts& texts,
                         bool with_correction = false);

// Where each input column stands in the header (nothing when it is absent). Header names are
// matched as a person writes them (see ColumnKey), each column under its own name or one of the
// names people give it ("Мощность, кВт", "P, кВт", "Ток, А", "Длина, м", "Потери, %", "ΔU, %",
// "Способ прокладки"…).
class ColumnMap {
public:
    explicit ColumnMap(const std::vector<std::string_view>& header);
    // The column's place in the row, or kAbsent when the header has no such column.
    static constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);
    std::size_t IndexOf(Column column) const { return index_[static_cast<std::size_t>(column)]; }
    // The header's names that are no input column (they are carried through unchanged).
    const std::vector<std::string>& Unknown() const { return unknown_; }
    // How many input columns the header names.
    std::size_t InputColumns() const;
    // Whether rows are checked for disconnection (the header has the upstream loop impedance).
    bool ChecksDisconnection() const { return IndexOf(Column::UpstreamImpedance) != kAbsent; }
    // Whether the header names a laying conditions' column (the rows then get the factor).
    bool HasConditions() const {
        return IndexOf(Column::Ambient) != kAbsent || IndexOf(Column::CablesNearby) != kAbsent ||
               IndexOf(Column::CableDistance) != kAbsent;
    }

private:
    std::array<std::size_t, kColumnCount> index_;
    std::vector<std::string> unknown_;
};

// A name in lower case, "е" for "ё", without a byte-order mark or surrounding spaces.
std::string NormalizedColumnName(std::string_view name);
// A header name as it is compared: normalized, and without spaces, "_", commas, dots, colons,
// brackets and slashes, the square millimetre written "мм2" ("мм²", "мм.кв.", "кв.мм"). So
// "Мощность, кВт" and "мощность_кВт" are one name.
std::string ColumnKey(std::string_view name);

// Whether a row is a schedule's header: it names at least three input columns, the load's power
// or current or the section among them.
bool LooksLikeHeader(const std::vector<std::string_view>& row);

// Whether a code as typed is `code` (given in small letters): capitals of Latin and Cyrillic
// letters are their small letters.
bool SameCodeIgnoringCase(std::string_view text, std::string_view code);
inline bool SameCode(std::string_view text, std::string_view code) {
    // A capital takes as many bytes as its small letter: the lengths tell most codes apart.
    return text.size() == code.size() && (text == code || SameCodeIgnoringCase(text, code));
}

// A laying code of a schedule: p1…p6, k1…k9 ("р" and "к" may be typed in Cyrillic).
std::optional<LayingMethod> LayingFromCode(std::string_view code);

}  // namespace kelvo::schedule
