#pragma once
// kq904-cli station: a factory station that programs radios on several ports at once, in one
// process, from one image. Each port runs its own round, over and over:
//
//   waiting    a version request every second until a radio answers
//   programming  the image with the next serial number from the profile (reserved as
//              "Auto Increment S/N" and program --serial-auto reserve it, so stations, windows
//              and command-line runs never share a number)
//   verifying  with --verify: every block written is read back
//   done       one line in the production log; then the radio must stop answering (two version
//              requests in a row unanswered: it was taken off the cable) before the port waits
//              for the next one, so a radio is never programmed twice
//
// All ports share one 15 ms tick on one event loop; a radio that fails never stops the others.
// A stop request (SIGINT, SIGTERM) or --count N radios in all lets no new radio start; the
// radios under way finish and get their line, then the station ends.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "model/radio_image.h"

namespace kq904::cli {

struct StationOptions {
    std::vector<std::string> ports; // as given; empty: the profile's port
    bool fast = false;
    bool verify = false;
    std::filesystem::path logFile; // the production log
    int count = 0; // radios in all; 0: until stopped
};

// Runs the station on `image` (the start-up image with the set file over it). Exit status:
// 0 when every radio passed, 3 when any failed, 2 when a port cannot be opened, 1 when the
// production log cannot be written.
int runStation(const StationOptions& options, const RadioImage& image, CommandStreams streams);

} // namespace kq904::cli
