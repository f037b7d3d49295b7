// dvr-emulator: recorders of the family in software, for tests and the demo.
#include "ConsoleCommand.h"
#include "DiscoveryResponder.h"
#include "EmulatorOptions.h"
#include "Recorder.h"
#include "RecorderServer.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace emulator;

namespace {

void RaiseEverywhere(std::vector<std::unique_ptr<RecorderServer>>& servers, const AlarmCommand& command)
{
    for (auto& server : servers)
        if (!command.port || *command.port == server->Port())
            server->RaiseAlarm(command.sensor);
}

// Waits for a stop signal while serving stdin commands and SIGUSR1.
void ServeUntilStopped(int signalFd, std::vector<std::unique_ptr<RecorderServer>>& servers)
{
    bool stdinOpen = true;
    std::string pending;
    for (;;) {
        pollfd fds[2] = {{signalFd, POLLIN, 0}, {STDIN_FILENO, static_cast<short>(stdinOpen ? POLLIN : 0), 0}};
        if (::poll(fds, stdinOpen ? 2 : 1, -1) < 0)
            continue;
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(signalFd, &info, sizeof info) == sizeof info) {
                if (info.ssi_signo == SIGUSR1)
                    RaiseEverywhere(servers, AlarmCommand{0, std::nullopt});
                else
                    return;
            }
        }
        if (stdinOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
            char buffer[512];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                stdinOpen = false;  // no console: keep serving
                continue;
            }
            pending.append(buffer, static_cast<size_t>(n));
            for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                std::string error;
                if (const auto command = ParseConsoleCommand(line, &error))
                    RaiseEverywhere(servers, *command);
                else if (!error.empty())
                    std::fprintf(stderr, "dvr-emulator: %s\n", error.c_str());
            }
            if (pending.size() > 4096)
                pending.clear();  // not a console talking
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = ParseEmulatorOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr, "dvr-emulator: %s\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(EmulatorHelpText().c_str(), stdout);
        return 0;
    }

    // Signals are taken by the main thread through a signalfd; every thread
    // started below inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (signalFd < 0) {
        std::perror("dvr-emulator: signalfd");
        return 1;
    }

    std::vector<std::unique_ptr<Recorder>> recorders;
    std::vector<std::unique_ptr<RecorderServer>> servers;
    for (const RecorderOptions& r : options->recorders) {
        auto recorder = Recorder::Create(r, options->cacheDir, &error);
        if (!recorder) {
            std::fprintf(stderr, "dvr-emulator: %s\n", error.c_str());
            return 1;
        }
        auto server = RecorderServer::Create(*recorder, &error);
        if (!server) {
            std::fprintf(stderr, "dvr-emulator: %s\n", error.c_str());
            return 1;
        }
        recorders.push_back(std::move(recorder));
        servers.push_back(std::move(server));
    }

    std::unique_ptr<DiscoveryResponder> discovery;
    if (options->discoveryPort != 0) {
        std::vector<RecorderServer*> all;
        for (auto& server : servers)
            all.push_back(server.get());
        discovery = DiscoveryResponder::Create(options->discoveryPort, all, &error);
        if (discovery)
            discovery->Start();
        else  // another emulator may answer there; serving goes on
            std::fprintf(stderr, "dvr-emulator: %s; no discovery answers\n", error.c_str());
    }
    for (auto& server : servers) {
        server->Start();
        std::printf("listening %s:%u\n", server->Address().c_str(), server->Port());
    }
    std::fflush(stdout);

    ServeUntilStopped(signalFd, servers);

    if (discovery)
        discovery->Stop();
    for (auto& server : servers)
        server->Stop();
    ::close(signalFd);
    return 0;
}
