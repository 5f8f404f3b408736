// The laying conditions' correction: the tables against the formula they come from, worked
// values and the table's edges, and the section chosen under a factor carrying the load.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/laying_conditions.h"
#include "core/line_calculation.h"
#include "core/permissible_current.h"

namespace kelvo {
namespace {

// Every cell of the ambient table is √((65 − t) / (65 − t₀)) rounded half up to two decimals: a
// typing slip in the table cannot hide.
TEST(LayingConditions, TheAmbientTableIsItsFormula) {
    for (std::size_t i = 0; i < kAmbientColumns.size(); ++i) {
        for (const auto& [row, base] : {std::pair{&kAmbientInAir, 25.0}, std::pair{&kAmbientInGround, 15.0}}) {
            const double exact = std::sqrt((65.0 - kAmbientColumns[i]) / (65.0 - base));
            EXPECT_EQ(*ReadNumber((*row)[i]), std::floor(exact * 100 + 0.5) / 100) << kAmbientColumns[i] << " " << base;
        }
    }
}

TEST(LayingConditions, FactorsAndTheTablesEdges) {
    using L = LayingMethod;
    struct Case {
        L laying;
        LayingConditions typed;
        const char* k;  // or the start of the message
    };
    // clang-format off
    const Case cases[] = {
        {L::p1, {}, "1"},                        {L::k7, {}, "1"},
        {L::p1, {"40", "", ""}, "0,79"},         {L::k1, {"27", "", ""}, "0,94"},  // the hotter column
        {L::k3, {"25", "4", "100"}, "0,712"},    {L::k3, {"25", "4", ""}, "0,712"},  // 100 mm when none
        {L::k9, {"", "4", "199"}, "0,8"},        {L::k5, {"", "6", "250"}, "0,81"},
        {L::k5, {"", "2", "1000"}, "0,93"},      {L::k7, {"-30", "", ""}, "1,18"},
        {L::k2, {"50", "1", ""}, "0,61"},        {L::k3, {"-5", "6", "100"}, "0,885"},
        {L::p4, {"50,5", "", ""}, "Температура среды выше +50 °C"},
        {L::k3, {"", "7", ""}, "Кабелей рядом больше 6"},
        {L::k3, {"", "2", "99"}, "Расстояние между кабелями меньше 100 мм"},
        {L::k4, {"", "2", ""}, "Число кабелей рядом учитывается только при прокладке в земле"},
        {L::k3, {"", "2,5", ""}, "Число кабелей рядом «2,5» не целое"},
        {L::k3, {"", "0", ""}, "Число кабелей рядом «0» не целое"},
        {L::k3, {"тепло", "", ""}, "Температура среды «тепло» не число"},
        {L::k3, {"", "", "1.5"}, "Расстояние между кабелями «1.5» не число"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const auto result = CorrectionFor(c.laying, c.typed);
        const std::string got = std::holds_alternative<Correction>(result)
                                    ? WriteNumber(std::get<Correction>(result).k.ToDouble())
                                    : std::get<std::string>(result);
        EXPECT_TRUE(got.starts_with(c.k))
            << c.typed.ambient << "/" << c.typed.cables << "/" << c.typed.distance << ": " << got;
    }
}

// Worked lines: 2,5 mm² copper wire open carries 30 A, at +40 °C 23,7 A; the reverse line says so.
TEST(LayingConditions, WorkedLines) {
    LineInput line;
    line.conductor = {Material::Copper, ConductorKind::Wire, LayingMethod::p1};
    line.conditions = {"40", "", ""};
    EXPECT_EQ(CalculateForward({line, GivenLoad::Current, "23,7"}).section_by_current, "2,5");
    EXPECT_EQ(CalculateForward({line, GivenLoad::Current, "23,71"}).section_by_current, "4");
    const LineResult reverse = CalculateReverse({line, "2,5"});
    EXPECT_EQ(reverse.current, "23,7");
    EXPECT_EQ(reverse.correction, "0,79");
    EXPECT_EQ(CorrectedCurrent(72, *Fixed4::FromText("0,5418")), 39.01);
    EXPECT_EQ(CorrectedCurrent(12.5, *Fixed4::FromText("0,01")), 0.12);  // 0,125: halves to even
}

// For random loads and conditions the section chosen carries the load at its corrected current,
// and the next smaller section of the table does not.
TEST(LayingConditions, TheChosenSectionCarriesTheLoad) {
    std::mt19937 random(45);
    const LayingMethod layings[] = {LayingMethod::p1, LayingMethod::p3, LayingMethod::k1, LayingMethod::k3,
                                    LayingMethod::k6, LayingMethod::k7, LayingMethod::k9};
    int checked = 0;
    for (int i = 0; i < 20000; ++i) {
        const LayingMethod laying = layings[random() % std::size(layings)];
        const Material material = random() % 2 ? Material::Copper : Material::Aluminium;
        LineInput line;
        line.conductor = {material, KindOf(laying), laying};
        const std::string ambient = std::to_string(static_cast<int>(random() % 56) - 5);
        const std::string cables = std::to_string(1 + random() % 6), distance = std::to_string(100 + random() % 250);
        line.conditions = {ambient, InGround(laying) ? std::string_view(cables) : "",
                           InGround(laying) ? std::string_view(distance) : ""};
        const std::string load = WriteNumber(static_cast<double>(random() % 40000) / 100);
        const LineResult result = CalculateForward({line, GivenLoad::Current, load});
        const double k = *ReadNumber(result.correction.empty() ? "1" : result.correction);
        const auto& rows = PermissibleCurrentTable(material, laying).rows();
        const double current = *ReadNumber(load);
        for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
            if (rows[r].result.text != result.section_by_current) continue;
            SCOPED_TRACE(load + " A, K " + result.correction + ", " + std::string(result.section_by_current));
            ++checked;
            EXPECT_GE(k * rows[r].to, current - 1e-9);
            if (r > 0) {
                EXPECT_LT(k * rows[r - 1].to, current + 1e-9);
            }
        }
    }
    EXPECT_GT(checked, 10000);  // most loads lie within the tables
}

}  // namespace
}  // namespace kelvo
