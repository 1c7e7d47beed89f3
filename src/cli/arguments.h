#pragma once
// The arguments of one kq904-cli command, read as every program reads its command line
// (link/command_line.h), and their problems in the tool's words.

#include <span>
#include <string>

#include "link/command_line.h"

namespace kq904::cli {

struct ParsedArguments : CommandLine {
    bool help = false; // "--help" or "-h" was given
    std::string error; // empty when the arguments are well formed
};

// Reads `args` against the options a command takes and at most `maxPositionals` other
// arguments. An unknown option, a missing value or a surplus argument sets `error`.
ParsedArguments parseArguments(std::span<const std::string> args,
    std::span<const CommandLineOption> options, std::size_t maxPositionals);

} // namespace kq904::cli
