#pragma once
// What the emulator sends back for one query.

#include "DdnsEmulatorOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ddns_emulator {

struct AnswerPlan {
    std::vector<std::vector<std::uint8_t>> writes;  // sent in order, options.pauseMs apart
    bool hangUp = false;                            // close the connection after the writes
    std::string logLine;                            // printed for the query
};

// name: what the query asked for; empty when the query could not be read
// (answered "not registered").
AnswerPlan PlanAnswer(const EmulatorOptions& options, const std::optional<std::string>& name);

}  // namespace ddns_emulator
