#include "app_options.h"

#include <array>
#include <string>
#include <vector>

#include "link/command_line.h"

namespace kq904 {

namespace {

constexpr std::array kOptions{CommandLineOption{"--data-dir", "DIR"},
    CommandLineOption{"--sample", ""}, CommandLineOption{"--simulate", ""},
    CommandLineOption{"--screenshots", "DIR"}, CommandLineOption{"--trace", "FILE"}};

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// An option that takes a value given none, or an empty one.
QString needsValue(const std::string& option)
{
    return QStringLiteral("%1 needs %2")
        .arg(fromUtf8(option),
            option == "--trace" ? QStringLiteral("a file") : QStringLiteral("a directory"));
}

} // namespace

QString appUsage()
{
    return QStringLiteral(
        "Usage: kq904 [--data-dir DIR] [--sample] [--simulate] [--screenshots DIR]\n"
        "             [--trace FILE] [FILE.set]\n"
        "\n"
        "  FILE.set          set file to open at start-up\n"
        "  --data-dir DIR    directory of the table files and kq904.ini (default: the\n"
        "                    current directory)\n"
        "  --sample          when DIR does not exist yet, create it with a sample\n"
        "                    configuration (24 channels, every optional function on)\n"
        "  --simulate        attach the built-in simulated radio: every port leads to it\n"
        "  --screenshots DIR render the main window, print preview and forms to PNG files\n"
        "                    in DIR, then quit\n"
        "  --trace FILE      write every byte sent to and received from the radio to FILE,\n"
        "                    timed, one frame per line\n"
        "  --help            show this help\n");
}

AppOptions parseAppOptions(const QStringList& arguments)
{
    AppOptions options;
    auto fail = [&options](const QString& reason) {
        options.ok = false;
        options.error = reason;
        return options;
    };
    // arguments[0] is the program itself.
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(arguments.at(i).toStdString());
    const CommandLine line = readCommandLine(args, kOptions, 1);

    // In the order given: "--help" before a problem still shows the help.
    for (const CommandLine::Given& given : line.options) {
        if (given.name == kHelpOption) {
            options.helpRequested = true;
            return options;
        }
        if (given.name == "--simulate") {
            options.simulate = true;
            continue;
        }
        if (given.name == "--sample") {
            options.sample = true;
            continue;
        }
        if (given.value->empty())
            return fail(needsValue(given.name));
        const QString value = fromUtf8(*given.value);
        if (given.name == "--data-dir")
            options.dataDir = value;
        else if (given.name == "--screenshots")
            options.screenshotDir = value;
        else
            options.traceFile = value;
    }
    if (!line.positionals.empty())
        options.setFile = fromUtf8(line.positionals.front());
    if (!line.problem)
        return options;
    switch (line.problem->kind) {
    case CommandLineProblem::Kind::MissingValue:
        return fail(needsValue(line.problem->option));
    case CommandLineProblem::Kind::SurplusArgument:
        return fail(QStringLiteral("only one set file can be opened"));
    case CommandLineProblem::Kind::UnknownOption:
    case CommandLineProblem::Kind::UnexpectedValue:
        break;
    }
    return fail(QStringLiteral("unknown option %1").arg(fromUtf8(line.problem->argument)));
}

} // namespace kq904
