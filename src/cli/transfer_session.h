#pragma once
// What the program, read and version commands share: the start-up image, the port, and one
// transfer run by the link on a 15 ms tick in an event loop, in real time, exactly as the
// desktop program's Programming form runs it.

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "cli/cli_app.h"
#include "cli/verify_session.h"
#include "model/radio_image.h"

class QCoreApplication;

namespace kq904::cli {

// Exit statuses of the transfer commands, beside kExitOk, kExitFailure and kExitUsage.
inline constexpr int kExitComPortFail = 2; // "Com Port Fail": the port would not open
inline constexpr int kExitTransferFail = 3; // "Programming Fail" or "Reading Fail"

enum class TransferKind { Programming, Reading, Version };

enum class TransferEnding {
    ComPortFail,
    ProgrammingOk,
    ProgrammingFail,
    ReadOk,
    ReadingFail,
    VersionReceived,
};

struct TransferReport {
    TransferEnding ending = TransferEnding::ComPortFail;
    std::string reason; // after a failure: the device and why, as printed on stderr
    std::uint16_t versionWord = 0;
    long ticks = 0; // 15 ms ticks from the start to the outcome
    std::optional<VerifyReport> verify; // after "Programming OK" when a verify was asked for
};

// What a transfer does besides the transfer itself.
struct TransferExtras {
    std::ostream* trace = nullptr; // --trace: every byte on the line, timed, one frame a line
    bool verify = false; // --verify: read back what the programming wrote and compare
    bool fast = false; // --fast: replies taken in as they arrive, the next frame sent at once
};

// A --port or --data-dir given with an empty value is a usage error; returns the exit status
// then.
std::optional<int> rejectEmptyPort(const ParsedArguments& parsed, CommandStreams streams);
std::optional<int> rejectEmptyDataDir(const ParsedArguments& parsed, CommandStreams streams);

// Opens the file of --trace FILE, when given, for the trace. False, with the reason on stderr,
// when it cannot be written.
bool openTraceFile(const ParsedArguments& parsed, std::ofstream& file, CommandStreams streams);

// The text the program shows for an ending ("Programming OK", ...); empty for a version reply.
std::string endingText(TransferEnding ending);
int exitStatus(TransferEnding ending);

// The image the program starts with: the table files and kq904.ini of --data-dir (default the
// current directory; rejectEmptyDataDir has turned away an empty one), then the set file when
// one is given. Reports a problem on stderr and returns nothing when the data directory or the
// set file is unusable.
std::optional<RadioImage> loadStartupImage(
    const ParsedArguments& parsed, const std::string* setFile, CommandStreams streams);

// The application object the ports and the tick need for their event loop, made here unless the
// caller (a test) already has one.
class EventLoopScope {
public:
    EventLoopScope();
    ~EventLoopScope();
    EventLoopScope(const EventLoopScope&) = delete;
    EventLoopScope& operator=(const EventLoopScope&) = delete;

private:
    int argc_ = 1;
    char name_[10] = "kq904-cli";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

// Runs one transfer through the port named by --port (default: "COM" + 1 from the profile
// settings, at the profile's baud rate). Progress goes to stderr when it is a terminal; the
// reason behind "Com Port Fail" (the device tried, and why it would not open), "Programming
// Fail" or "Reading Fail" (no answer, a refusal, the device gone: which frame, how long) goes
// to stderr as well.
TransferReport runTransfer(RadioImage& image, TransferKind kind,
    const std::optional<std::string>& portName, CommandStreams streams,
    const TransferExtras& extras = {});

} // namespace kq904::cli
