// ddns-emulator: the DDNS service side of the DDNS query protocol, for tests
// and the demo. Loopback only.
#include "DdnsEmulatorOptions.h"
#include "DdnsServer.h"

#include <arpa/inet.h>
#include <signal.h>
#include <sys/signalfd.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace ddns_emulator;

int main(int argc, char** argv)
{
    std::string error;
    const auto options = ParseEmulatorOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr, "ddns-emulator: %s (see --help)\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(EmulatorUsage(), stdout);
        return 0;
    }
    // The stop signals arrive through a descriptor the server polls.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signalFd < 0) {
        std::perror("ddns-emulator: signalfd");
        return 1;
    }
    DdnsServer server(*options);
    if (!server.Listen(&error)) {
        std::fprintf(stderr, "ddns-emulator: %s\n", error.c_str());
        return 1;
    }
    char address[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &options->listen.sin_addr, address, sizeof address);
    std::printf("listening %s:%u\n", address, static_cast<unsigned>(server.Port()));
    std::fflush(stdout);
    server.Serve(signalFd);
    return 0;
}
