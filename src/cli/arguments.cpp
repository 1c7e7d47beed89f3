#include "cli/arguments.h"

#include <algorithm>

namespace kq904::cli {

namespace {

std::string problemText(
    const CommandLineProblem& problem, std::span<const CommandLineOption> options)
{
    using Kind = CommandLineProblem::Kind;
    const auto quoted = [](const std::string& text) { return "'" + text + "'"; };
    switch (problem.kind) {
    case Kind::SurplusArgument:
        return "unexpected argument " + quoted(problem.argument);
    case Kind::MissingValue:
        return "option " + quoted(problem.option) + " needs a value";
    case Kind::UnexpectedValue:
        // "--help=..." is no option of a command: help stands on its own.
        if (std::any_of(options.begin(), options.end(),
                [&problem](const CommandLineOption& o) { return o.name == problem.option; }))
            return "option " + quoted(problem.option) + " takes no value";
        break;
    case Kind::UnknownOption:
        break;
    }
    return "unknown option " + quoted(problem.option);
}

} // namespace

ParsedArguments parseArguments(std::span<const std::string> args,
    std::span<const CommandLineOption> options, std::size_t maxPositionals)
{
    ParsedArguments parsed;
    static_cast<CommandLine&>(parsed) = readCommandLine(args, options, maxPositionals);
    parsed.help = parsed.has(kHelpOption);
    if (parsed.problem)
        parsed.error = problemText(*parsed.problem, options);
    return parsed;
}

} // namespace kq904::cli
