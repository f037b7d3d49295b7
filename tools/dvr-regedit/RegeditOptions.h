#pragma once

#include <string>
#include <vector>

// The command line of dvr-regedit, in the forms the Windows registry editor
// accepts: "/e FILE [KEY]" exports, "/u FILE" (or a bare FILE) imports, "/s"
// anywhere keeps it quiet on success.
struct RegeditOptions {
    enum class Action { Export, Import };
    Action action = Action::Import;
    std::string file;
    std::string key;        // export only; empty exports all of HKEY_CURRENT_USER
    bool silent = false;
};

// False with a one-line reason when the arguments make no command.
bool ParseRegeditOptions(const std::vector<std::string>& args, RegeditOptions& options, std::string& error);
