#include "platform/app/ProgramLauncher.h"

#include "platform/app/DrivePaths.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::vector<std::string> splitWords(const std::string& commandLine)
{
    std::vector<std::string> words;
    std::istringstream in(commandLine);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::string resolveProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    std::string beside = drive::InstallFolder() + "/" + name;
    if (::access(beside.c_str(), X_OK) == 0)
        return beside;
    return name; // posix_spawnp searches PATH
}

// The child runs on its own; a waiter reaps it so it never lingers as a zombie.
void reapWhenDone(pid_t pid)
{
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

bool LaunchDetached(const std::string& commandLine, const std::string& workingFolder, std::string* error)
{
    std::vector<std::string> words = splitWords(commandLine);
    if (words.empty()) {
        if (error)
            *error = "empty command line";
        return false;
    }
    std::string program = resolveProgram(words[0]);
    std::vector<char*> argv;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        if (error)
            *error = std::strerror(rc);
        return false;
    }
    reapWhenDone(pid);
    return true;
}
