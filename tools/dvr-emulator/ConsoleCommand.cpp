#include "ConsoleCommand.h"

#include <sstream>

namespace emulator {

std::optional<AlarmCommand> ParseConsoleCommand(const std::string& line, std::string* error)
{
    std::istringstream in(line);
    std::string word;
    error->clear();
    if (!(in >> word))
        return std::nullopt;
    if (word != "alarm") {
        *error = "unknown command \"" + word + "\" (try: alarm N [PORT])";
        return std::nullopt;
    }
    long sensor = 0;
    if (!(in >> sensor) || sensor < 1 || sensor > 16) {
        *error = "alarm needs a sensor number 1..16";
        return std::nullopt;
    }
    AlarmCommand command;
    command.sensor = static_cast<int>(sensor - 1);
    long port = 0;
    if (in >> port) {
        if (port < 1 || port > 65535) {
            *error = "alarm: bad port";
            return std::nullopt;
        }
        command.port = static_cast<uint16_t>(port);
    } else if (!in.eof()) {
        *error = "alarm: bad port";
        return std::nullopt;
    }
    if (in >> word) {
        *error = "alarm: too many words";
        return std::nullopt;
    }
    return command;
}

}  // namespace emulator
