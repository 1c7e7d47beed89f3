#pragma once
// The command lines of kq904, kq904-cli and kq904-sim, read one way: QCommandLineParser with one
// QCommandLineOption per option. "--name", "--name VALUE" and "--name=VALUE"; "-h" and "--help";
// "--" ends the options, so a file name may begin with '-'; "-" alone is an argument. Each
// program words the problems itself, in its own usage style; this says which came first.
//
// Kept with the link's Qt part because every program links it.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kq904 {

// One option a program takes.
struct CommandLineOption {
    std::string_view name; // as typed, with its "--"
    std::string_view valueName; // "DIR", "FILE"; empty for an option that takes no value
};

// "-h" and "--help", whatever the program.
inline constexpr std::string_view kHelpOption = "--help";

// What makes a command line unusable. Only the first on the line is reported: the user mends
// the line from its start, as the programs have always answered.
struct CommandLineProblem {
    enum class Kind {
        UnknownOption, // "--bogus", "-x": not an option of the program
        UnexpectedValue, // "--flag=VALUE" for an option that takes none
        MissingValue, // the line ends with an option that takes a value
        SurplusArgument, // more arguments than the program takes
    };
    Kind kind = Kind::UnknownOption;
    std::string argument; // the argument at fault, as given
    std::string option; // the argument up to its '=' ("--print" of "--print=yes")
};

struct CommandLine {
    struct Given {
        std::string name; // the option's name as declared ("-h" gives kHelpOption)
        std::optional<std::string> value;
    };
    // What the line says before its first problem (all of it when there is none), in order:
    // a program that checks the values too finds the first bad one where the user wrote it.
    std::vector<Given> options;
    std::vector<std::string> positionals;
    std::optional<CommandLineProblem> problem;

    bool has(std::string_view name) const;
    // The last value given for `name`: a repeated option overrides.
    std::optional<std::string> value(std::string_view name) const;
};

// Reads `arguments` (the program name left out) against the options a program takes and at
// most `maxPositionals` other arguments. The arguments are bytes, handed back exactly as given:
// a file name need not be UTF-8.
CommandLine readCommandLine(std::span<const std::string> arguments,
    std::span<const CommandLineOption> options, std::size_t maxPositionals);

} // namespace kq904
