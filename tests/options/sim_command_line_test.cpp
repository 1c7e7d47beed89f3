// The simulated radio's command line as kq904-sim reads it.
#include <gtest/gtest.h>

#include "sim/sim_command_line.h"

using namespace kq904;

namespace {

SimOptions parse(std::initializer_list<const char*> words)
{
    std::vector<std::string> args(words.begin(), words.end());
    return parseSimOptions(args);
}

} // namespace

TEST(SimOptions, CommandLine)
{
    const SimOptions all =
        parse({"--eeprom", "in.bin", "--save=out.bin", "--version", "0x0123", "--latency", "20",
            "--link", "/tmp/radio", "--fault", "no-answer@2", "--swap-radios", "2500"});
    EXPECT_EQ(all.error, "");
    EXPECT_EQ(all.eepromFile, "in.bin");
    EXPECT_EQ(all.saveFile, "out.bin");
    EXPECT_EQ(all.versionWord, 0x0123);
    EXPECT_EQ(all.latencyMs, 20);
    EXPECT_EQ(all.linkPath, "/tmp/radio");
    EXPECT_EQ(all.swapRadiosMs, 2500);

    EXPECT_EQ(parse({"--version", "1298"}).versionWord, 1298);
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_FALSE(parse({}).versionWord.has_value());

    const std::initializer_list<const char*> bad[] = {{"--save"}, {"--save="}, {"--bogus"},
        {"positional"}, {"--version", "65536"}, {"--version", "0x"}, {"--latency", "-1"},
        {"--fault", "nothing@1"}, {"--swap-radios", "0"}};
    for (const auto& words : bad)
        EXPECT_NE(parse(words).error, "") << *words.begin();
}
