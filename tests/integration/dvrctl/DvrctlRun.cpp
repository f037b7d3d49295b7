#include "DvrctlRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

extern char** environ;

namespace {

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

DvrctlRun RunDvrctl(const std::vector<std::string>& args, const std::string& folder)
{
    const std::string outPath = folder + "/dvrctl.out";
    const std::string errPath = folder + "/dvrctl.err";
    std::vector<std::string> words{std::string(OMBREL_BIN_DIR) + "/dvrctl"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // dvrctl keeps recorders' key pins in the settings database: the test's
    // own, never the tester's, unless the test names one.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry)
        environment.emplace_back(*entry);
    if (!std::getenv("DVR_REGISTRY"))
        environment.push_back("DVR_REGISTRY=" + folder + "/registry.db");
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    DvrctlRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    run.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadWhole(outPath);
    run.err = ReadWhole(errPath);
    return run;
}
