#include "app_options.h"

namespace kq904 {

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
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        auto value = [&](QString& into) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty())
                return false;
            into = arguments.at(++i);
            return true;
        };
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.helpRequested = true;
        } else if (argument == QLatin1String("--simulate")) {
            options.simulate = true;
        } else if (argument == QLatin1String("--sample")) {
            options.sample = true;
        } else if (argument == QLatin1String("--data-dir")) {
            if (!value(options.dataDir))
                return fail(QStringLiteral("--data-dir needs a directory"));
        } else if (argument == QLatin1String("--trace")) {
            if (!value(options.traceFile))
                return fail(QStringLiteral("--trace needs a file"));
        } else if (argument == QLatin1String("--screenshots")) {
            if (!value(options.screenshotDir))
                return fail(QStringLiteral("--screenshots needs a directory"));
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return fail(QStringLiteral("unknown option %1").arg(argument));
        } else if (options.setFile.isEmpty()) {
            options.setFile = argument;
        } else {
            return fail(QStringLiteral("only one set file can be opened"));
        }
    }
    return options;
}

} // namespace kq904
