// The C library's conversion of doubles, which builds without floating-point to_chars use, held
// against the standard library's on random doubles of every kind (subnormals among them) and on
// random digit texts near the ends of the doubles' range.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "core/float_text.h"

namespace {

TEST(FloatText, FileNumbersAreReadWithoutTheLocale) {
    struct Case {
        const char* text;
        bool read;
        double value;
    };
    for (const Case c : {Case{"2.5", true, 2.5}, Case{"-0.025", true, -0.025}, Case{"1.5E-3", true, 0.0015},
                         Case{"7", true, 7}, Case{"+.5", true, 0.5}, Case{"5.", true, 5}, Case{"1e-400", true, 0},
                         Case{"2,5", false, 0}, Case{"1e400", false, 0}, Case{"", false, 0}, Case{".", false, 0},
                         Case{"1e", false, 0}, Case{"inf", false, 0}, Case{" 1", false, 0}, Case{"1.5.2", false, 0}}) {
        double value = -1;
        EXPECT_EQ(kelvo::float_text::ParseFileNumber(c.text, value), c.read) << c.text;
        if (c.read) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

}  // namespace

#if KELVO_HAVE_FLOAT_CHARCONV
namespace {

using namespace kelvo::float_text;

std::string Text(std::size_t (*convert)(double, char*, std::size_t), double value) {
    char buffer[40];
    return std::string(buffer, convert(value, buffer, sizeof buffer));
}

TEST(FloatText, ThePortableDigitsAreTheLibrarys) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> everyday(0, 1000);
    for (int i = 0; i < 2'000'000; ++i) {
        // Every bit pattern: all exponents, subnormals and signs alike; every fourth an everyday figure.
        double value = i % 4 == 0 ? everyday(random) : std::bit_cast<double>(random());
        if (!std::isfinite(value)) continue;
        ASSERT_EQ(Text(portable::Scientific15, value), Text(library::Scientific15, value)) << value;
    }
    for (const double value : {0.0, -0.0, 5e-324, -5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 0.5, 2.675,
                               1e15, 999999999999999.5})
        EXPECT_EQ(Text(portable::Scientific15, value), Text(library::Scientific15, value)) << value;
}

TEST(FloatText, ThePortableReadingIsTheLibrarys) {
    std::mt19937_64 random(8122026);
    std::uniform_int_distribution<int> length(1, 40), digit(0, 9), exponent(-380, 330);
    for (int i = 0; i < 1'000'000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += static_cast<char>('0' + digit(random));
        text += "e" + std::to_string(exponent(random) - static_cast<int>(text.size()));
        double mine = -1, theirs = -1;
        const Parsed a = portable::ParseScientific(text, mine), b = library::ParseScientific(text, theirs);
        ASSERT_EQ(a, b) << text;
        if (a == Parsed::Ok) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(mine), std::bit_cast<std::uint64_t>(theirs)) << text;
        }
    }
    // The edges: the largest double and the next text above it, the smallest subnormal and half of it.
    for (const char* text : {"17976931348623157e292", "17976931348623159e292", "4940656458412465e-339",
                             "24703282292062328e-340", "24703282292062327e-340", "0e400", "1e400", "1e-400"}) {
        double mine = -1, theirs = -1;
        EXPECT_EQ(portable::ParseScientific(text, mine), library::ParseScientific(text, theirs)) << text;
        EXPECT_EQ(mine, theirs) << text;
    }
}

}  // namespace
#endif
