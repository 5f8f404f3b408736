// One line as the window calculates it, forward and reverse: worked values, the recommendation
// and its basis, and which message a line ends with when several steps bring one (the last
// replaces the earlier; the exceed by power names the load only when nothing replaces it).
#include <gtest/gtest.h>

#include "core/line_calculation.h"

namespace kelvo {
namespace {

constexpr ConductorChoice kCopperWireOpen{Material::Copper, ConductorKind::Wire, LayingMethod::p1};
constexpr ConductorChoice kAluminiumCableK7{Material::Aluminium, ConductorKind::Cable, LayingMethod::k7};

LineInput Line(ConductorChoice conductor, std::string_view length, std::string_view loss,
               SupplyKind supply = SupplyKind::SinglePhase, std::string_view voltage = "220") {
    LineInput line;
    line.supply = supply;
    line.voltage = voltage;
    line.conductor = conductor;
    line.length = length;
    line.loss_percent = loss;
    return line;
}

TEST(LineCalculation, ForwardLines) {
    struct Case {
        const char* what;
        ForwardInput input;
        const char *current, *by_current, *by_loss, *recommended, *breaker;
        Basis basis;
    };
    const Case cases[] = {
        {"short line: by current",
         {Line(kCopperWireOpen, "15", "4"), GivenLoad::Power, "2,5"},
         "11,36",
         "0,75",
         "0,75",
         "0,75",
         "12,5",
         Basis::Current},
        {"long line: by voltage loss",
         {Line(kCopperWireOpen, "200", "4"), GivenLoad::Power, "2,5"},
         "11,36",
         "0,75",
         "10",
         "10",
         "12,5",
         Basis::VoltageLoss},
        {"three-phase aluminium cable, current given",
         {Line(kAluminiumCableK7, "50", "5", SupplyKind::ThreePhase, "380"), GivenLoad::Current, "15,19"},
         "15,19",
         "2,5",
         "2,5",
         "2,5",
         "16",
         Basis::Current},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LineResult r = CalculateForward(c.input);
        EXPECT_EQ(r.message, "");
        EXPECT_EQ(r.current, c.current);
        EXPECT_EQ(r.section_by_current, c.by_current);
        EXPECT_EQ(r.section_by_loss, c.by_loss);
        EXPECT_EQ(r.recommended, c.recommended);
        EXPECT_EQ(r.breaker, c.breaker);
        EXPECT_EQ(r.basis, c.basis);
    }
}

TEST(LineCalculation, TheLastMessageStandsAndEmptiesTheResults) {
    struct Case {
        const char* what;
        ForwardInput input;
        std::string message;
    };
    const Case cases[] = {
        {"no conductor", {Line({}, "15", "4"), GivenLoad::Power, "2,5"}, messages::kIncompleteConductor},
        {"a point for a comma", {Line(kCopperWireOpen, "15", "4"), GivenLoad::Power, "2.5"}, messages::kDecimalComma},
        {"no length", {Line(kCopperWireOpen, "", "4"), GivenLoad::Power, "2,5"}, messages::kNoLength},
        // Over the laying's table by current, and no length: the marker also stands where the
        // section by loss stands, whose message is the last.
        {"exceed, then no length", {Line(kCopperWireOpen, "", "4"), GivenLoad::Power, "500"}, messages::kExceedByLoss},
        {"exceed by power names the load",
         {Line(kCopperWireOpen, "15", "4"), GivenLoad::Power, "500"},
         messages::ExceedByPower("500")},
        {"exceed by current names the computed power",
         {Line(kCopperWireOpen, "15", "4"), GivenLoad::Current, "5000"},
         messages::ExceedByPower("1100")},
        {"section by loss beyond the laying's table",
         {Line(kCopperWireOpen, "100000", "4"), GivenLoad::Power, "2"},
         messages::kExceedByLoss},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LineResult r = CalculateForward(c.input);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.current + r.section_by_current + r.section_by_loss + r.recommended + r.breaker, "");
    }
}

TEST(LineCalculation, ReverseLines) {
    const LineResult wire = CalculateReverse({Line(kCopperWireOpen, "", ""), "2,5"});
    EXPECT_EQ(wire.message, "");
    EXPECT_EQ(wire.current, "30");
    EXPECT_EQ(wire.power, "6,6");
    EXPECT_EQ(wire.breaker, "30");
    EXPECT_EQ(CalculateReverse({Line(kCopperWireOpen, "", ""), ""}).message, messages::kChooseSection);
}

}  // namespace
}  // namespace kelvo
