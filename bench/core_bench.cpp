// Cost of the rules that run on every keystroke in the current and section boxes.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/maximum_current.h"
#include "core/number_text.h"
#include "core/permissible_current.h"
#include "core/protection.h"
#include "core/voltage_loss.h"

namespace kelvo {
namespace {

const std::vector<std::string>& Currents() {
    static const std::vector<std::string> texts = {"0,5",   "11,36", "23",    "42,05", "126,55",
                                                   "354,2", "605",   "830,5", "2.5",   ""};
    return texts;
}

void BM_SelectSectionByCurrent(benchmark::State& state) {
    const ConductorChoice choice{Material::Aluminium, ConductorKind::Cable, LayingMethod::k7};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SelectSectionByCurrent(Currents()[i], choice));
        i = (i + 1) % Currents().size();
    }
}
BENCHMARK(BM_SelectSectionByCurrent);

void BM_SelectSectionByVoltageLoss(benchmark::State& state) {
    const ConductorChoice choice{Material::Copper, ConductorKind::Wire, LayingMethod::p1};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SelectSectionByVoltageLoss(Currents()[i], choice));
        i = (i + 1) % Currents().size();
    }
}
BENCHMARK(BM_SelectSectionByVoltageLoss);

void BM_MaximumCurrentBySection(benchmark::State& state) {
    const ConductorChoice choice{Material::Copper, ConductorKind::Wire, LayingMethod::p1};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MaximumCurrentBySection(Currents()[i], choice));
        i = (i + 1) % Currents().size();
    }
}
BENCHMARK(BM_MaximumCurrentBySection);

// One current through breaker, device and residual-current selection.
void BM_ProtectionChain(benchmark::State& state) {
    for (auto _ : state) {
        const auto at = CurrentAtMultiplicity("1,25", "23");
        const auto breaker = SelectBreakerRating(*at);
        benchmark::DoNotOptimize(SelectRcdRatedCurrent(breaker));
        const auto reference = RcdReferenceCurrent("23");
        benchmark::DoNotOptimize(SelectRcdTripCurrent(*reference));
    }
}
BENCHMARK(BM_ProtectionChain);

void BM_WriteNumber(benchmark::State& state) {
    double value = 11.363636;
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteNumber(value));
        value += 0.01;
    }
}
BENCHMARK(BM_WriteNumber);

}  // namespace
}  // namespace kelvo
