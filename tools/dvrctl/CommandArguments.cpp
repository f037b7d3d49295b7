#include "CommandArguments.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

std::optional<CommandArguments> CommandArguments::Parse(const std::vector<std::string>& args,
                                                        std::initializer_list<const char*> names, std::string* error)
{
    CommandArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            parsed.words.push_back(arg);
            continue;
        }
        if (std::none_of(names.begin(), names.end(), [&](const char* name) { return arg == name; })) {
            *error = "unknown option " + arg;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            *error = arg + " needs a value";
            return std::nullopt;
        }
        if (!parsed.options.emplace(arg, args[++i]).second) {
            *error = arg + " given twice";
            return std::nullopt;
        }
    }
    return parsed;
}

std::optional<int> ParseBoundedNumber(const std::string& text, int low, int high)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < low || value > high)
        return std::nullopt;
    return static_cast<int>(value);
}
