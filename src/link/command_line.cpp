#include "link/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <map>

namespace kq904 {

namespace {

// Each byte becomes one character: the parser reads only the ASCII of '-', '=' and the option
// names, and every value and argument comes back with the bytes it was given.
QString fromBytes(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

std::string_view withoutDashes(std::string_view name)
{
    while (name.starts_with('-'))
        name.remove_prefix(1);
    return name;
}

class Reader {
public:
    Reader(std::span<const std::string> arguments, std::span<const CommandLineOption> options,
        std::size_t maxPositionals)
        : options_(options)
        , maxPositionals_(maxPositionals)
    {
        parser_.addOption(
            QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
        for (const CommandLineOption& option : options) {
            parser_.addOption(QCommandLineOption(
                fromBytes(withoutDashes(option.name)), QString(), fromBytes(option.valueName)));
        }
        // The parser skips the first entry, the program's name.
        line_.append(QString());
        for (const std::string& argument : arguments)
            line_.append(fromBytes(argument));
    }

    CommandLine read()
    {
        const qsizetype count = line_.size() - 1;
        CommandLine result;
        if (clean(count)) {
            collect(result);
            return result;
        }
        // The parser reads the whole line and gathers every problem on it; the first lies at
        // the end of the shortest start of the line that has one.
        qsizetype bad = 1;
        while (clean(bad))
            ++bad;
        result.problem = problemAt(bad);
        clean(bad - 1);
        collect(result);
        return result;
    }

private:
    // Parses the first `count` arguments.
    bool parse(qsizetype count, bool valueToCome = false)
    {
        QStringList start = line_.first(count + 1);
        if (valueToCome)
            start.append(QString());
        return parser_.parse(start);
    }

    bool tooManyPositionals() const
    {
        return static_cast<std::size_t>(parser_.positionalArguments().size()) > maxPositionals_;
    }

    // True when the first `count` arguments hold no problem, an option still waiting for the
    // value the next argument brings aside.
    bool clean(qsizetype count)
    {
        bool ok = parse(count);
        if (!ok && count < line_.size() - 1)
            ok = parse(count, true);
        return ok && !tooManyPositionals();
    }

    CommandLineProblem problemAt(qsizetype bad)
    {
        CommandLineProblem problem;
        problem.argument = toBytes(line_.at(bad));
        problem.option = problem.argument.substr(0, problem.argument.find('='));
        if (parse(bad) && tooManyPositionals())
            problem.kind = CommandLineProblem::Kind::SurplusArgument;
        else if (!parser_.unknownOptionNames().isEmpty())
            problem.kind = CommandLineProblem::Kind::UnknownOption;
        else if (parse(bad, true))
            problem.kind = CommandLineProblem::Kind::MissingValue;
        else
            problem.kind = CommandLineProblem::Kind::UnexpectedValue;
        return problem;
    }

    const CommandLineOption* declared(const QString& found) const
    {
        const std::string name = toBytes(found);
        const auto it = std::find_if(options_.begin(), options_.end(),
            [&name](const CommandLineOption& o) { return withoutDashes(o.name) == name; });
        return it == options_.end() ? nullptr : &*it;
    }

    // What the last parse found, in the order of the line.
    void collect(CommandLine& result) const
    {
        std::map<QString, qsizetype> valuesTaken;
        for (const QString& found : parser_.optionNames()) {
            const CommandLineOption* option = declared(found);
            if (!option) {
                result.options.push_back({std::string(kHelpOption), std::nullopt});
                continue;
            }
            CommandLine::Given given{std::string(option->name), std::nullopt};
            if (!option->valueName.empty())
                given.value = toBytes(parser_.values(found).at(valuesTaken[found]++));
            result.options.push_back(std::move(given));
        }
        for (const QString& positional : parser_.positionalArguments())
            result.positionals.push_back(toBytes(positional));
    }

    std::span<const CommandLineOption> options_;
    std::size_t maxPositionals_;
    QStringList line_;
    QCommandLineParser parser_;
};

} // namespace

bool CommandLine::has(std::string_view name) const
{
    return std::any_of(
        options.begin(), options.end(), [name](const Given& given) { return given.name == name; });
}

std::optional<std::string> CommandLine::value(std::string_view name) const
{
    const auto last = std::find_if(options.rbegin(), options.rend(),
        [name](const Given& given) { return given.name == name; });
    if (last == options.rend())
        return std::nullopt;
    return last->value;
}

CommandLine readCommandLine(std::span<const std::string> arguments,
    std::span<const CommandLineOption> options, std::size_t maxPositionals)
{
    return Reader(arguments, options, maxPositionals).read();
}

} // namespace kq904
