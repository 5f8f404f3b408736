// kelvo-calc's command line: what it asks for, read from the arguments.
#pragma once

#include <optional>
#include <string>

#include "schedule/schedule_file.h"

namespace kelvo::cli {

// What the command line asks for.
struct Arguments {
    std::string input;
    std::optional<std::string> output;
    schedule::InputOptions read;
    schedule::OutputOptions write;
};

// Reads the arguments into `arguments`; an exit status when the program is done with them
// (--help and --version print their text: 0; a usage error is said on standard error: 2).
std::optional<int> Parse(int argc, char** argv, Arguments& arguments);

// A usage error said on standard error, with the usage line; returns 2.
int UsageError(const std::string& message);

}  // namespace kelvo::cli
