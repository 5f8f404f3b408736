#include "bench/schedule_generator.h"

#include <array>
#include <string_view>

namespace kelvo::bench {
namespace {

struct Supply {
    std::string_view name;
    std::array<std::string_view, 4> voltages;
    std::uint32_t percent;  // share of the rows
};
// clang-format off
constexpr Supply kSupplies[] = {
    {"1ф", {"220", "127", "36", "12"}, 50},
    {"3ф", {"380", "220", "127", "120"}, 40},
    {"постоянный", {"12", "220", "110", "36"}, 10},
};
// clang-format on
constexpr std::string_view kLosses[] = {"1", "2", "2,5", "3", "4", "5", "6", "10"};
constexpr std::string_view kMultiplicities[] = {"0,8", "1", "1,1", "1,2", "1,25", "2", "3", "4,5", "5", "6", "7"};
constexpr std::string_view kSections[] = {"0,5", "0,75", "1",  "1,5", "2,5", "4",   "6",   "10",  "16",  "25",
                                          "35",  "50",   "70", "95",  "120", "150", "185", "240", "300", "400"};
// Faults people make in a schedule, each giving its row a message.
// clang-format off
constexpr std::string_view kFaultyRows[] = {
    "прямой;2.5;;;1ф;220;медь;провод;p1;15;4;1\n",
    "прямой;4;;;1ф;220;медь;провод;p7;15;4;1\n",
    "прямой;4;;;1ф;220;медь;кабель;p2;15;4;1\n",
    "прямой;4;;;2ф;220;медь;провод;p1;15;4;1\n",
    "прямой;4;;;1ф;220;медь;провод;p1;;4;1\n",
    "прямой;900;;;1ф;220;медь;провод;p2;15;4;1\n",
    "обратный;;;500;1ф;220;медь;провод;p1;;;\n",
};
// clang-format on

}  // namespace

const std::string& ScheduleGenerator::Header() {
    static const std::string header =
        "расчет;мощность_кВт;ток_А;сечение_мм2;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;"
        "потери_%;кратность\n";
    return header;
}

std::uint64_t ScheduleGenerator::Next() {  // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

void ScheduleGenerator::AppendHundredths(std::string& out, std::uint32_t units) {
    out += std::to_string(units / 100);
    const std::uint32_t cents = units % 100;
    if (cents == 0) return;
    out += ',';
    out += static_cast<char>('0' + cents / 10);
    if (cents % 10 != 0) out += static_cast<char>('0' + cents % 10);
}

// The load's current: mostly final circuits, now and then a feeder; given as a power about a
// third of the time less than as a current.
void ScheduleGenerator::AppendLoad(std::string& out, bool three_phase, std::string_view voltage) {
    const std::uint32_t volts = static_cast<std::uint32_t>(std::stoul(std::string(voltage)));
    const std::uint32_t centiamperes = Percent(96) ? 50 + Below(volts < 100 ? 1000 : 4000) : 4000 + Below(12000);
    if (Percent(70)) {
        const double kw = centiamperes / 100.0 * volts * (three_phase ? 1.732 : 1.0) / 1000.0;
        AppendHundredths(out, static_cast<std::uint32_t>(kw * 100) + 1);
        out += ";;";
    } else {
        out += ';';
        AppendHundredths(out, centiamperes);
        out += ';';
    }
}

void ScheduleGenerator::AppendRow(std::string& out) {
    if (Percent(1)) {
        out += kFaultyRows[Below(std::size(kFaultyRows))];
        return;
    }
    const bool reverse = Percent(12);
    std::uint32_t pick = Below(100);
    const Supply* supply = &kSupplies[0];
    for (const Supply& s : kSupplies) {
        supply = &s;
        if (pick < s.percent) break;
        pick -= s.percent;
    }
    const bool wire = Percent(50);
    const std::uint32_t laying = wire ? 1 + Below(6) : 1 + Below(9);
    const bool cyrillic = Percent(3);

    const std::string_view voltage = supply->voltages[Below(Percent(70) ? 1 : 4)];
    const std::string_view material = Percent(70) ? "медь" : "алюминий";
    out += reverse ? "обратный;" : (Percent(80) ? "прямой;" : ";");
    if (reverse) {
        // Sections the laying's table has, now and then one above it.
        const std::size_t first = material == "алюминий" ? 4 : wire ? 0 : 3;
        out += ";;";
        out += kSections[first + Below(static_cast<std::uint32_t>((Percent(85) ? 13 : std::size(kSections)) - first))];
    } else {
        AppendLoad(out, supply->name == "3ф", voltage);
    }
    out += ';';
    out += supply->name;
    out += ';';
    out += voltage;
    out += ';';
    out += material;
    out += ';';
    out += wire ? "провод;" : "кабель;";
    out += wire ? (cyrillic ? "р" : "p") : (cyrillic ? "к" : "k");
    out += static_cast<char>('0' + laying);
    out += ';';
    if (!reverse) {
        const bool low_voltage = voltage.size() < 3;  // 12 V or 36 V: short runs
        AppendHundredths(out, low_voltage   ? 10 * (5 + Below(150))
                              : Percent(80) ? 100 * (1 + Below(120))
                                            : 10 * (10 + Below(3000)));
        out += ';';
        out += kLosses[Below(std::size(kLosses))];
        out += ';';
        if (Percent(60)) out += kMultiplicities[Below(std::size(kMultiplicities))];
    } else {
        out += ';';
    }
    out += '\n';
}

}  // namespace kelvo::bench
