// dvrctl: a command-line client of the recorders over the network library.

#include <iostream>
#include <string>
#include <vector>

#include "DvrctlCommands.h"
#include "DvrctlOptions.h"
#include "RecorderLink.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = DvrctlOptions::Parse(args, &error);
    if (!options) {
        std::cerr << "dvrctl: " << error << " (see --help)\n";
        return kExitUsage;
    }
    if (options->help) {
        std::cout << kDvrctlUsage;
        return kExitOk;
    }
    return RunDvrctlCommand(*options);
}
