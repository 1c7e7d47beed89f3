#include "arguments.h"

#include <algorithm>

namespace kq904::cli {

std::optional<std::string> ParsedArguments::value(std::string_view option) const
{
    const auto it = values.find(option);
    if (it == values.end())
        return std::nullopt;
    return it->second;
}

ParsedArguments parseArguments(
    std::span<const std::string> args, std::span<const OptionSpec> options, int maxPositionals)
{
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && parsed.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            if (static_cast<int>(parsed.positionals.size()) >= maxPositionals)
                parsed.error = "unexpected argument '" + arg + "'";
            else
                parsed.positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = std::string_view(arg).substr(0, equals);
        const auto known = std::find_if(
            options.begin(), options.end(), [&](const OptionSpec& o) { return o.name == name; });
        if (known == options.end()) {
            parsed.error = "unknown option '" + std::string(name) + "'";
        } else if (!known->takesValue) {
            if (equals != std::string::npos)
                parsed.error = "option '" + std::string(name) + "' takes no value";
            else
                parsed.flags.insert(std::string(name));
        } else if (equals != std::string::npos) {
            parsed.values[std::string(name)] = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            parsed.values[std::string(name)] = args[++i];
        } else {
            parsed.error = "option '" + std::string(name) + "' needs a value";
        }
    }
    return parsed;
}

} // namespace kq904::cli
