#pragma once

#include <vector>

// Poll timers to change after a row was removed: each moved session is polled
// under its new index, and the highest index in use before is stopped.
struct DisconnectPlan {
    std::vector<int> rearmPollTimers;
    int stopPollTimer = -1;
    bool operator==(const DisconnectPlan&) const = default;
};
