// The command-line contract scripts rely on: the first problem on the line, in the tool's words;
// values and file names exactly as given.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "cli/arguments.h"
#include "sim/sim_command_line.h"

namespace kq904 {
namespace {

constexpr std::array kOptions{
    CommandLineOption{"--print", ""}, CommandLineOption{"--data-dir", "DIR"}};

struct CliCase {
    std::vector<std::string> args;
    std::string error;
    std::vector<std::string> positionals;
    std::optional<std::string> dataDir;
};

TEST(CommandLine, CliArgumentsAndTheirProblems)
{
    const CliCase cases[] = {
        {{"--prnt"}, "unknown option '--prnt'", {}, {}},
        {{"-xyz"}, "unknown option '-xyz'", {}, {}},
        {{"--print=yes"}, "option '--print' takes no value", {}, {}},
        {{"--help=1"}, "unknown option '--help'", {}, {}},
        {{"a.set", "--data-dir"}, "option '--data-dir' needs a value", {}, {}},
        {{"a.set", "b.set"}, "unexpected argument 'b.set'", {}, {}},
        // Of several problems, the first on the line.
        {{"a.set", "b.set", "--bogus"}, "unexpected argument 'b.set'", {}, {}},
        {{"--print=1", "--bogus", "a", "b"}, "option '--print' takes no value", {}, {}},
        // A value may begin with '-'; "--" lets a file name do so.
        {{"--data-dir", "--print"}, "", {}, "--print"},
        {{"--", "-file.set"}, "", {"-file.set"}, {}},
        {{"--", "--print"}, "", {"--print"}, {}},
        {{"-"}, "", {"-"}, {}},
        // "=VALUE", an empty value, and the last of a repeated option.
        {{"--data-dir=d1", "x.set", "--data-dir", "d2"}, "", {"x.set"}, "d2"},
        {{"--data-dir="}, "", {}, ""},
        // Bytes that are not UTF-8 come back as they were.
        {{"caf\xE9.set"}, "", {"caf\xE9.set"}, {}},
    };
    for (const CliCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const cli::ParsedArguments parsed = cli::parseArguments(c.args, kOptions, 1);
        EXPECT_EQ(parsed.error, c.error);
        if (!c.error.empty())
            continue;
        EXPECT_EQ(parsed.positionals, c.positionals);
        EXPECT_EQ(parsed.value("--data-dir"), c.dataDir);
        EXPECT_FALSE(parsed.help);
    }
    for (const char* help : {"-h", "--help"})
        EXPECT_TRUE(cli::parseArguments(std::vector<std::string>{help}, kOptions, 1).help);
}

struct SimCase {
    std::vector<std::string> args;
    std::string error;
    bool help;
};

TEST(CommandLine, SimulatedRadioTakesTheFirstProblemOrAnEarlierHelp)
{
    const SimCase cases[] = {
        {{"--help", "--bogus"}, "", true},
        {{"--bogus", "--help"}, "unknown argument '--bogus'", false},
        {{"--bogus=1"}, "unknown argument '--bogus=1'", false},
        {{"--", "radio"}, "unknown argument 'radio'", false},
        {{"--latency", "1", "--save"}, "option '--save' needs a value", false},
        {{"--version", "x", "--bogus"}, "bad version word 'x' (0-65535, or 0x0000-0xFFFF)", false},
        {{"--help", "--version", "x"}, "", true},
    };
    for (const SimCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const SimOptions options = parseSimOptions(c.args);
        EXPECT_EQ(options.error, c.error);
        EXPECT_EQ(options.help, c.help);
    }
    // Every --fault counts.
    SimOptions faults =
        parseSimOptions(std::vector<std::string>{"--fault", "no-answer@2", "--fault=silence@5"});
    EXPECT_EQ(faults.error, "");
    EXPECT_EQ(faults.faults.faultsFor(2), std::vector{FaultKind::NoAnswer});
    EXPECT_TRUE(faults.faults.silentAt(5));
}

} // namespace
} // namespace kq904
