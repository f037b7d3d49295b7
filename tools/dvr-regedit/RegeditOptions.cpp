#include "RegeditOptions.h"

#include <cctype>

namespace {

// Switches are whole two-letter words, so that a path such as "/e.reg"
// (a file at the top of the file system) is never mistaken for one.
char SwitchLetter(const std::string& arg)
{
    if (arg.size() == 2 && (arg[0] == '/' || arg[0] == '-'))
        return static_cast<char>(std::tolower(static_cast<unsigned char>(arg[1])));
    return 0;
}

} // namespace

bool ParseRegeditOptions(const std::vector<std::string>& args, RegeditOptions& options, std::string& error)
{
    options = RegeditOptions();
    bool actionGiven = false;
    std::vector<std::string> operands;
    for (const auto& arg : args) {
        switch (SwitchLetter(arg)) {
        case 's':
            options.silent = true;
            break;
        case 'e':
        case 'u':
            if (actionGiven) {
                error = "give only one of /e and /u";
                return false;
            }
            actionGiven = true;
            options.action = SwitchLetter(arg) == 'e' ? RegeditOptions::Action::Export : RegeditOptions::Action::Import;
            break;
        case 0:
            operands.push_back(arg);
            break;
        default:
            error = "unknown switch " + arg;
            return false;
        }
    }
    std::size_t most = options.action == RegeditOptions::Action::Export ? 2 : 1;
    if (operands.empty() || operands.size() > most) {
        error = "usage: dvr-regedit [/s] /e FILE [KEY] | dvr-regedit [/s] /u FILE";
        return false;
    }
    options.file = operands[0];
    if (operands.size() > 1)
        options.key = operands[1];
    return true;
}
