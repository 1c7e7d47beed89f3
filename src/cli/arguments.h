#pragma once
// Command-line arguments of one command: options ("--name", "--name VALUE" or "--name=VALUE")
// and positional arguments. "--" ends the options, so a file name may begin with '-'.

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kq904::cli {

struct OptionSpec {
    std::string_view name; // with its leading "--"
    bool takesValue = false;
};

struct ParsedArguments {
    std::set<std::string, std::less<>> flags;
    std::map<std::string, std::string, std::less<>> values;
    std::vector<std::string> positionals;
    bool help = false; // "--help" or "-h" was given
    std::string error; // empty when the arguments are well formed

    bool has(std::string_view option) const { return flags.contains(option); }
    std::optional<std::string> value(std::string_view option) const;
};

// Parses `args` against the options a command accepts; at most `maxPositionals` positional
// arguments are allowed. An unknown option, a missing value or a surplus argument sets `error`.
ParsedArguments parseArguments(
    std::span<const std::string> args, std::span<const OptionSpec> options, int maxPositionals);

} // namespace kq904::cli
