#pragma once

#include <optional>
#include <string>
#include <vector>

// The command line of dvrctl.
struct DvrctlOptions {
    std::string host;
    int port = 0;
    std::string account;
    std::string password;
    bool udp = false;
    bool acceptNewKey = false;          // trust a recorder's changed key instead of refusing it
    bool help = false;
    std::string command;                // info, days, log, upload, serial, scan, snapshot, ptz, play, ddns
    std::vector<std::string> arguments; // the command's own arguments

    // Nullopt with a one-line reason in *error for a malformed command line.
    static std::optional<DvrctlOptions> Parse(const std::vector<std::string>& args, std::string* error);
};

extern const char* const kDvrctlUsage;
