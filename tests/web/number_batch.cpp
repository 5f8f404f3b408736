// Prints the program's number texts for a batch of values and texts made from a seed: every
// double's bit pattern (subnormals, the range's ends, NaN and infinities among them), digit texts
// near the range's ends and the texts people type. Built natively and for the browser: the two
// outputs must be equal byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/number_text.h"

int main(int argc, char** argv) {
    const unsigned long seed = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1;
    const unsigned long count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 100000;
    std::mt19937_64 random(seed);
    std::string out;
    const auto line = [&](const std::string& text) {
        out += text;
        out += '\n';
        if (out.size() > (1 << 16)) std::fwrite(out.data(), 1, out.size(), stdout), out.clear();
    };
    static const char* const kTyped[] = {"2,5",
                                         "12,",
                                         ",5",
                                         " 7 ",
                                         "\t3,5",
                                         "-1",
                                         "-0,25",
                                         "0",
                                         "007",
                                         "2.5",
                                         "",
                                         ",",
                                         "-",
                                         "1,2,3",
                                         "1 000",
                                         "1e3",
                                         "+5",
                                         "1,111",
                                         "0,1",
                                         "0,3",
                                         "999999999999999,5",
                                         "0,000000000000000000001",
                                         "123456789012345678"};
    for (const char* text : kTyped)
        line(std::string(text) + "\t" + kelvo::WriteNumber(kelvo::ReadNumber(text).value_or(-0.5)));
    for (unsigned long i = 0; i < count; ++i) {
        // Any bit pattern, then a value of the size people type.
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        line(kelvo::WriteNumber(value));
        line(kelvo::WriteNumber(static_cast<double>(random() % 100000000) / static_cast<double>(1 + random() % 10000)));
        // A digit text, up to 30 digits, the comma anywhere.
        std::string text = std::to_string(random() % 1000000000000000000ULL);
        text += std::to_string(random() % 1000000000000ULL);
        text.resize(1 + random() % text.size());
        text.insert(random() % (text.size() + 1), ",");
        const auto read = kelvo::ReadNumber(text);
        line(text + "\t" + (read ? kelvo::WriteNumber(*read) : "-"));
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
