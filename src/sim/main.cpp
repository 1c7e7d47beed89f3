// kq904-sim: a simulated KQ904 on a pseudo-terminal, for trying the programmer (kq904,
// kq904-cli) without a radio. See --help.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "sim/pty/pty_master.h"
#include "sim/pty/pty_radio_server.h"
#include "sim/pty/stop_signals.h"
#include "sim/sim_command_line.h"
#include "sim/simulated_radio.h"

using namespace kq904;

namespace {

constexpr const char* kName = "kq904-sim";

std::string hex(std::span<const std::uint8_t> bytes)
{
    std::string text;
    char digits[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, text.empty() ? "%02X" : " %02X", b);
        text += digits;
    }
    return text;
}

// One line per frame: number, arrival time, what it asked, the bytes, and the answer.
void logFrame(const ReceivedFrame& frame)
{
    std::string line =
        "#" + std::to_string(frame.number) + " +" + std::to_string(frame.atMs) + "ms ";
    const char letter = static_cast<char>(frame.letter());
    line += (letter >= 0x21 && letter <= 0x7E) ? std::string(1, letter) : std::string("?");
    if ((letter == 'W' || letter == 'R') && frame.frame.size() > 4) {
        char where[32];
        std::snprintf(where, sizeof where, " 0x%04X n=%u", frame.address(), frame.count());
        line += where;
    }
    if (!frame.checksumOk)
        line += " BAD CHECKSUM";
    line += " [" + hex(frame.frame) + "]";
    for (FaultKind kind : frame.faults)
        line += " fault:" + std::string(faultName(kind));
    if (frame.takenOffCable)
        line += " -> no reply: the radio is taken off the cable";
    else
        line += frame.reply.empty() ? " -> no reply" : " -> " + hex(frame.reply);
    std::cerr << line << std::endl;
}

Result saveEeprom(const SimulatedRadio& radio, const std::string& path)
{
    if (path.empty())
        return Result::success();
    return radio.saveEepromFile(path);
}

Result makeLink(const std::string& linkPath, const std::string& target)
{
    std::error_code ec;
    const std::filesystem::path link(linkPath);
    // A link left behind by an earlier run is replaced; anything else at the path is kept.
    if (std::filesystem::is_symlink(link, ec))
        std::filesystem::remove(link, ec);
    std::filesystem::create_symlink(target, link, ec);
    if (ec)
        return Result::failure("cannot make the link " + linkPath + ": " + ec.message());
    return Result::success();
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    SimOptions options = parseSimOptions(args);
    if (options.help) {
        std::cout << simUsageText();
        return 0;
    }
    if (!options.error.empty()) {
        std::cerr << kName << ": " << options.error << "\n\n" << simUsageText();
        return 2;
    }

    SimulatedRadio radio;
    if (!options.eepromFile.empty()) {
        if (Result loaded = radio.loadEepromFile(options.eepromFile); !loaded) {
            std::cerr << kName << ": " << loaded.error << '\n';
            return 1;
        }
    }
    if (options.versionWord)
        radio.setVersionWord(*options.versionWord);
    radio.setReplyLatencyMs(options.latencyMs);
    if (options.corruptAddress)
        radio.setCorruptedCell(*options.corruptAddress);
    radio.setSwapAfterProgramming(options.swapRadiosMs);
    radio.setFaultPlan(std::move(options.faults));
    radio.setFrameListener(logFrame);

    std::string error;
    const std::unique_ptr<StopSignals> stop = StopSignals::catchThem(&error);
    if (!stop) {
        std::cerr << kName << ": cannot catch signals: " << error << '\n';
        return 1;
    }
    std::unique_ptr<PtyMaster> pty = PtyMaster::open(&error);
    if (!pty) {
        std::cerr << kName << ": cannot open a pseudo-terminal: " << error << '\n';
        return 1;
    }
    if (!options.linkPath.empty()) {
        if (Result linked = makeLink(options.linkPath, pty->slavePath()); !linked) {
            std::cerr << kName << ": " << linked.error << '\n';
            return 1;
        }
    }
    std::cout << pty->slavePath() << std::endl;

    int status = 0;
    PtyRadioServer server(radio, *pty);
    server.onProgrammingEnded([&] {
        if (Result saved = saveEeprom(radio, options.saveFile); !saved)
            std::cerr << kName << ": " << saved.error << '\n';
    });
    server.onReplyLost(
        [](const std::string& why) { std::cerr << kName << ": reply dropped: " << why << '\n'; });
    if (Result served = server.serve(stop->fd()); !served) {
        std::cerr << kName << ": " << served.error << '\n';
        status = 1;
    }

    if (Result saved = saveEeprom(radio, options.saveFile); !saved) {
        std::cerr << kName << ": " << saved.error << '\n';
        status = 1;
    }
    if (!options.linkPath.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(options.linkPath, ec))
            std::filesystem::remove(options.linkPath, ec);
    }
    return status;
}
