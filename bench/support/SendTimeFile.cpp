#include "bench/support/SendTimeFile.h"

#include <fstream>
#include <sstream>

namespace benchsupport {

std::vector<SentUnit> ReadSendTimes(const std::string& path)
{
    std::vector<SentUnit> units;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        SentUnit unit;
        long long nanoseconds = 0;
        // The recorder may still be writing the last line.
        if (fields >> unit.camera >> unit.pts >> nanoseconds) {
            unit.at = std::chrono::steady_clock::time_point(
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::nanoseconds(nanoseconds)));
            units.push_back(unit);
        }
    }
    return units;
}

} // namespace benchsupport
