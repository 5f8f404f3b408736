// Writes a generated cable schedule to standard output: generate_schedule ROWS [SEED].
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/schedule_generator.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: generate_schedule ROWS [SEED]\n");
        return 2;
    }
    const unsigned long long rows = std::strtoull(argv[1], nullptr, 10);
    kelvo::bench::ScheduleGenerator generator(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1);
    std::string chunk = kelvo::bench::ScheduleGenerator::Header();
    for (unsigned long long row = 0; row < rows; ++row) {
        generator.AppendRow(chunk);
        if (chunk.size() > (1u << 16)) {
            std::fwrite(chunk.data(), 1, chunk.size(), stdout);
            chunk.clear();
        }
    }
    std::fwrite(chunk.data(), 1, chunk.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
