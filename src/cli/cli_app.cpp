#include "cli_app.h"

#include <array>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"

namespace kq904::cli {

namespace {

// The options, each declared once; a command's row lists those it takes.
constexpr CommandLineOption kPort{"--port", "PORT"};
constexpr CommandLineOption kDataDir{"--data-dir", "DIR"};
constexpr CommandLineOption kTrace{"--trace", "FILE"};
constexpr CommandLineOption kVerify{"--verify", ""};
constexpr CommandLineOption kFast{"--fast", ""};
constexpr std::array kListingOptions{CommandLineOption{"--print", ""}, kDataDir};
constexpr std::array kProgramOptions{kPort, kDataDir, CommandLineOption{"--serial", "N"},
    CommandLineOption{"--serial-auto", ""}, kVerify, kTrace, kFast};
constexpr std::array kTransferOptions{kPort, kDataDir, kTrace, kFast};
// --port once for every port of the station.
constexpr std::array kStationOptions{kPort, kFast, kVerify, kDataDir,
    CommandLineOption{"--log", "FILE"}, CommandLineOption{"--count", "N"}};
constexpr std::array kCsvOptions{kDataDir};

constexpr std::array kCommands = {
    Command{"listing", "[--print] [--data-dir DIR] [FILE.set]",
        "Prints the listing of the configuration the program starts with: the table files and\n"
        "kq904.ini of DIR (default: the current directory), then FILE.set when given.\n"
        "--print gives the printed layout (settings summary, then the channel table)\n"
        "without page breaks. Writes no file.",
        kListingOptions, 1, runListingCommand},
    Command{"program",
        "[--port PORT] [--data-dir DIR] [--serial N | --serial-auto] [--verify] [--trace FILE]\n"
        "          [--fast] [FILE.set]",
        "Writes the start-up image (then FILE.set when given) into the radio, as the\n"
        "Programming form does. --serial N (0-9999999) puts N into the serial number first.\n"
        "--serial-auto takes the profile's SERIAL_NUMBER instead and stores the next one\n"
        "before the radio is written, as \"Auto Increment S/N\" does: parallel runs and\n"
        "program windows never use a number twice; stderr names the number used.\n"
        "Prints \"Programming OK\", \"Programming Fail\" (exit 3) or \"Com Port Fail\"\n"
        "(exit 2). Writes no file (--serial-auto: the profile). --verify then reads back\n"
        "every block written and prints \"Verify OK\", or \"Verify Fail\" with the first\n"
        "differing bytes (exit 4).",
        kProgramOptions, 1, runProgramCommand},
    Command{"read", "[--port PORT] [--data-dir DIR] [--trace FILE] [--fast] OUT.set",
        "Reads the radio into the start-up image and saves it as OUT.set. Prints \"READ OK\",\n"
        "\"Reading Fail\" (exit 3, no file written) or \"Com Port Fail\" (exit 2).",
        kTransferOptions, 1, runReadCommand},
    Command{"version", "[--port PORT] [--data-dir DIR] [--trace FILE] [--fast]",
        "Asks the radio for its version and prints it as the Programming form shows it.\n"
        "A radio that answers with a full reading ends as read does, without a file.",
        kTransferOptions, 0, runVersionCommand},
    Command{"station",
        "[--port PORT]... [--fast] [--verify] [--data-dir DIR] [--log FILE] [--count N]\n"
        "          FILE.set",
        "A factory station: programs radios on every PORT at once with the start-up image\n"
        "and FILE.set. On each port, over and over: waits for a radio (a version request\n"
        "every second), programs it with the profile's next serial number (as\n"
        "--serial-auto takes it), reads it back with --verify, writes a line to the\n"
        "production log (default production-log.csv in DIR), then waits for the radio to\n"
        "be taken off the cable. Status per port on stderr. Ends on SIGINT/SIGTERM once the\n"
        "radios under way are done, or after N radios in all with --count. Exit 0 when\n"
        "every radio passed, 3 when any failed, 2 when a port cannot be opened.",
        kStationOptions, 1, runStationCommand},
    Command{"ports", "",
        "Lists every serial device the system reports and every COMn the profile maps, one\n"
        "line each, tab-separated: the COM name leading to it (or -), the device, its\n"
        "stable path under /dev/serial/by-id (or -), USB vendor:product in hex (or -),\n"
        "the manufacturer and the description (or -).",
        std::span<const CommandLineOption>(), 0, runPortsCommand},
    Command{"export-csv", "[--data-dir DIR] FILE.set OUT.csv",
        "Writes the channels of FILE.set (over the start-up image of DIR) as a channel list\n"
        "in the CSV exchange format other radio programmers read. What the format cannot\n"
        "hold (user-set sub-tones, mixed spacings) is reported on stderr.",
        kCsvOptions, 2, runExportCsvCommand},
    Command{"import-csv", "[--data-dir DIR] IN.csv FILE.set OUT.set",
        "Replaces the channels of FILE.set with the rows of the channel list IN.csv and\n"
        "saves the result as OUT.set. Rows and values the radio cannot take are reported\n"
        "on stderr and left out; a file that is not a channel list changes nothing (exit 1).",
        kCsvOptions, 3, runImportCsvCommand},
};

void appendIndented(std::string& text, std::string_view lines, std::string_view indent)
{
    while (!lines.empty()) {
        const std::size_t end = lines.find('\n');
        text += indent;
        text += lines.substr(0, end);
        text += '\n';
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
    }
}

} // namespace

std::span<const Command> commands()
{
    return kCommands;
}

std::string usageText()
{
    std::string text = "Usage: " + std::string(kProgramName) + " <command> [arguments]\n";
    text += "       " + std::string(kProgramName) + " --help\n\nCommands:\n";
    for (const Command& command : commands()) {
        text += "  " + std::string(command.name) + " " + std::string(command.synopsis) + "\n";
        appendIndented(text, command.description, "      ");
    }
    text += "\nPORT is \"COMn\" or a device path; the default is the port chosen in the profile.\n";
    text += "After a failure, stderr names the device and why: no answer within the timeout\n"
            "(after which frame), the radio refused a frame, or the device disappeared.\n";
    text += "--trace FILE writes every byte sent and received to FILE, with its time in ms\n"
            "and direction (> to the radio, < from it), one frame per line.\n";
    text += "--fast takes each reply in as it arrives and sends the next frame at once, not at\n"
            "the link's 15 ms pace (the desktop program: \"Fast transfer\" in the Port setting\n"
            "form); the frames, the timeouts and the outcomes stay the same.\n";
    text += "\nExit status: 0 on success, 2 for bad arguments, 1 when a file or directory\n"
            "cannot be used; other statuses as given above.\n";
    return text;
}

int usageError(CommandStreams streams, std::string_view problem)
{
    streams.err << kProgramName << ": " << problem << "\n\n" << usageText();
    return kExitUsage;
}

int runCli(std::span<const std::string> args, CommandStreams streams)
{
    if (args.empty())
        return usageError(streams, "no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        streams.out << usageText();
        return kExitOk;
    }
    for (const Command& command : commands()) {
        if (command.name != args[0])
            continue;
        const ParsedArguments parsed =
            parseArguments(args.subspan(1), command.options, command.maxArguments);
        if (!parsed.error.empty())
            return usageError(streams, parsed.error);
        if (parsed.help) {
            streams.out << usageText();
            return kExitOk;
        }
        return command.run(parsed, streams);
    }
    return usageError(streams, "unknown command '" + args[0] + "'");
}

} // namespace kq904::cli
