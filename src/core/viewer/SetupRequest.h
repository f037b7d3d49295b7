#pragma once

#include "core/viewer/MessageRequest.h"

#include <functional>
#include <optional>

// Button 222, remote setup of the current recorder.
struct SetupRequestOutcome {
    std::optional<MessageRequest> message;  // a warning box, and nothing more
    bool enterSetupMode = false;
    bool operator==(const SetupRequestOutcome&) const = default;
};

// While any listed session shows live video the setup cannot open (6040) and
// the password is not asked for; otherwise `confirmPassword` runs, and a
// password not confirmed is a warning (6022).
SetupRequestOutcome DecideSetupRequest(bool anyListedSessionLive, const std::function<bool()>& confirmPassword);
