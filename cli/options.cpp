#include "cli/options.h"

#include <iostream>

#include "cli/usage.h"

namespace kelvo::cli {

int UsageError(const std::string& message) {
    std::cerr << "kelvo-calc: " << message << '\n' << UsageLine() << '\n';
    return 2;
}

namespace {

// Reads one option's value into `value`; an error message when it is missing, empty or given
// twice.
std::optional<std::string> TakeValue(int argc, char** argv, int& i, std::optional<std::string>& value) {
    const std::string option = argv[i];
    if (++i >= argc) return "после " + option + " нужно значение";
    if (value) return option + " можно указать только один раз";
    value = argv[i];
    if (value->empty()) return "после " + option + " нужно значение, а не пустая строка";
    return std::nullopt;
}

std::optional<kelvo::schedule::Encoding> EncodingNamed(const std::string& name) {
    if (name == "utf-8" || name == "utf8" || name == "utf-8-bom") return kelvo::schedule::Encoding::Utf8;
    if (name == "cp1251" || name == "windows-1251") return kelvo::schedule::Encoding::Cp1251;
    if (name == "utf-16le" || name == "utf-16") return kelvo::schedule::Encoding::Utf16Le;
    if (name == "utf-16be") return kelvo::schedule::Encoding::Utf16Be;
    return std::nullopt;
}

// Parses the command line; an exit status when the program is done (help, version, an error).
}  // namespace

std::optional<int> Parse(int argc, char** argv, Arguments& arguments) {
    std::optional<std::string> output, encoding, separator, output_encoding, sheet;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::optional<std::string> problem;
        if (arg == "--help" || arg == "-h") {
            std::cout << HelpText();
            return 0;
        } else if (arg == "--version") {
            std::cout << "kelvo-calc " KELVO_VERSION "\n";
            return 0;
        } else if (arg == "-o") {
            problem = TakeValue(argc, argv, i, output);
        } else if (arg == "--encoding") {
            problem = TakeValue(argc, argv, i, encoding);
        } else if (arg == "--separator") {
            problem = TakeValue(argc, argv, i, separator);
        } else if (arg == "--output-encoding") {
            problem = TakeValue(argc, argv, i, output_encoding);
        } else if (arg == "--sheet") {
            problem = TakeValue(argc, argv, i, sheet);
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            problem = "неизвестный параметр «" + arg + "»; справка: kelvo-calc --help";
        } else if (arguments.input.empty()) {
            arguments.input = arg;
        } else {
            problem = "можно указать только один входной файл";
        }
        if (problem) return UsageError(*problem);
    }
    arguments.output = output;
    if (encoding && !(arguments.read.encoding = EncodingNamed(*encoding)))
        return UsageError("--encoding: utf-8 или cp1251");
    if (separator) {
        if (*separator == ";" || *separator == ",")
            arguments.read.separator = (*separator)[0];
        else if (*separator == "tab" || *separator == "\t")
            arguments.read.separator = '\t';
        else
            return UsageError("--separator: «;», «,» или tab");
    }
    if (sheet) arguments.read.sheet = *sheet;
    if (output) arguments.write.kind = kelvo::schedule::KindOfPath(*output);
    if (output_encoding) {
        if (!(arguments.write.csv.encoding = EncodingNamed(*output_encoding)))
            return UsageError("--output-encoding: utf-8, utf-8-bom или cp1251");
        arguments.write.csv.byte_order_mark = *output_encoding == "utf-8-bom";
    }
    return std::nullopt;
}

}  // namespace kelvo::cli
