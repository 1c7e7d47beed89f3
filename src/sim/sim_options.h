#pragma once
// What the command line of kq904-sim, the simulated radio on a pseudo-terminal, sets up:
//   kq904-sim [--eeprom FILE] [--save FILE] [--version N] [--latency MS] [--link PATH]
//             [--fault FAULT]... [--corrupt-eeprom ADDR] [--swap-radios MS]
// Portable and Qt-free; sim_command_line.h reads it from the arguments.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/fault_plan.h"

namespace kq904 {

struct SimOptions {
    std::string eepromFile; // EEPROM to start from; empty: a blank radio
    std::string saveFile; // written after every "D" and at exit; empty: nothing written
    std::string linkPath; // a symbolic link to the pseudo-terminal; empty: none
    std::optional<std::uint16_t> versionWord;
    int latencyMs = 0;
    // A weak EEPROM cell: writes there store the byte with its lowest bit flipped.
    std::optional<std::uint16_t> corruptAddress;
    FaultPlan faults;
    // A station's radios being swapped: after each programming the radio goes off the cable
    // for this long at the next version request, then a blank one answers. 0: never.
    int swapRadiosMs = 0;
    bool help = false;
    std::string error; // empty when the command line is well formed
};

// Takes one option of the command line ("--save", "out.bin") into `options`: "--eeprom",
// "--save", "--link", "--version", "--latency", "--corrupt-eeprom" or "--fault", each with its
// value. Returns the problem, empty when the value is good.
std::string takeSimOption(SimOptions& options, std::string_view name, const std::string& value);

// Adds one --fault to the plan: "KIND@N", "KIND@random:SEED:PERCENT", "silence@N" or
// "random:SEED:PERCENT". Returns the problem, empty when the text is well formed.
std::string addFault(FaultPlan& plan, std::string_view text);

// The --help text, with every fault kind the radio knows.
std::string simUsageText();

} // namespace kq904
