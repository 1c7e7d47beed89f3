#include "sim/sim_command_line.h"

#include <array>

#include "link/command_line.h"

namespace kq904 {

namespace {

constexpr std::array kOptions{CommandLineOption{"--eeprom", "FILE"},
    CommandLineOption{"--save", "FILE"}, CommandLineOption{"--version", "N"},
    CommandLineOption{"--latency", "MS"}, CommandLineOption{"--link", "PATH"},
    CommandLineOption{"--fault", "FAULT"}, CommandLineOption{"--corrupt-eeprom", "ADDR"},
    CommandLineOption{"--swap-radios", "MS"}};

} // namespace

SimOptions parseSimOptions(std::span<const std::string> args)
{
    SimOptions options;
    // The radio takes no other arguments.
    const CommandLine line = readCommandLine(args, kOptions, 0);
    for (const CommandLine::Given& given : line.options) {
        if (given.name == kHelpOption) {
            options.help = true;
            return options;
        }
        options.error = takeSimOption(options, given.name, given.value.value_or(""));
        if (!options.error.empty())
            return options;
    }
    if (line.problem) {
        options.error = line.problem->kind == CommandLineProblem::Kind::MissingValue
            ? "option '" + line.problem->option + "' needs a value"
            : "unknown argument '" + line.problem->argument + "'";
    }
    return options;
}

} // namespace kq904
