#pragma once

#include <cstddef>
#include <deque>
#include <optional>

struct LoadSummary {
    int minimum = 0;
    int maximum = 0;
    int average = 0;  // rounded to the nearest percent
    bool operator==(const LoadSummary&) const = default;
};

// Minimum, maximum and average of the most recent load values, so the panel
// shows the last minute rather than the whole run.
class LoadStatistics {
public:
    static constexpr size_t kWindow = 60;

    void Add(int percent);
    // Empty until a value was added.
    std::optional<LoadSummary> Summary() const;

private:
    std::deque<int> m_values;
};
