// Runs a fuzz target without a fuzzing engine: every file of the corpus folders given, then
// inputs made from them by seeded random mutations (flips, insertions, cuts, splices). Used
// where clang's libFuzzer is not at hand, and in every test run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

}  // namespace

// Usage: replay [--mutations N] FOLDER...
int main(int argc, char** argv) {
    long mutations = 20000;
    std::vector<std::string> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--mutations" && i + 1 < argc) {
            mutations = std::strtol(argv[++i], nullptr, 10);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(arg)) {
            std::ifstream file(entry.path(), std::ios::binary);
            corpus.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
    }
    if (corpus.empty()) corpus.emplace_back();
    for (const auto& input : corpus) Run(input);

    std::mt19937_64 random(20261206);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    static const char kInteresting[] = ",;\"\r\n-0123456789. e\xD0\xBD\xFF";
    for (long m = 0; m < mutations; ++m) {
        std::string input = corpus[pick(corpus.size())];
        for (std::size_t edits = 1 + pick(8); edits > 0; --edits) {
            switch (pick(5)) {
                case 0:
                    if (!input.empty()) input[pick(input.size())] = static_cast<char>(pick(256));
                    break;
                case 1:
                    input.insert(pick(input.size() + 1), 1, kInteresting[pick(sizeof kInteresting - 1)]);
                    break;
                case 2:
                    if (!input.empty()) input.erase(pick(input.size()), 1 + pick(4));
                    break;
                case 3: {
                    const std::string& other = corpus[pick(corpus.size())];
                    if (!other.empty()) input.insert(pick(input.size() + 1), other.substr(pick(other.size())));
                    break;
                }
                default:
                    input.insert(pick(input.size() + 1), std::string(1 + pick(40), '9'));
                    break;
            }
        }
        Run(input);
    }
    std::printf("%zu corpus inputs and %ld mutations ran\n", corpus.size(), mutations);
    return 0;
}
