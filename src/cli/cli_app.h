#pragma once
// kq904-cli: one program, several commands ("kq904-cli <command> [arguments]"). Each command is
// a row of the command table: its synopsis, the options and arguments it takes, and a function
// that runs it once they were read without a problem.

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/command_line.h"

namespace kq904::cli {

struct ParsedArguments;

inline constexpr std::string_view kProgramName = "kq904-cli";

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the command ran and failed; the reason is on stderr
inline constexpr int kExitUsage = 2; // bad arguments; the usage is on stderr

struct CommandStreams {
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string_view name;
    std::string_view synopsis; // arguments after the command name
    std::string_view description; // what it does, wrapped to the usage text's indent
    std::span<const CommandLineOption> options;
    std::size_t maxArguments; // file names and the like after the options
    int (*run)(const ParsedArguments& args, CommandStreams streams);
};

// Every command the program has, in the order the usage lists them.
std::span<const Command> commands();

// The usage text: the synopsis and description of every command.
std::string usageText();

// Reports bad arguments: the problem and the usage on stderr; returns kExitUsage.
int usageError(CommandStreams streams, std::string_view problem);

// Runs the command named by args[0] with the rest of args (the program name is not in args).
// Malformed arguments are a usage error; "--help" prints the usage.
int runCli(std::span<const std::string> args, CommandStreams streams);

} // namespace kq904::cli
