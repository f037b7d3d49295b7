#include "core/viewer/SetupRequest.h"

namespace {

constexpr int kStrStopLiveFirst = 6040;
constexpr int kStrWrongPassword = 6022;

} // namespace

SetupRequestOutcome DecideSetupRequest(bool anyListedSessionLive, const std::function<bool()>& confirmPassword)
{
    if (anyListedSessionLive)
        return {MessageRequest{LangText::Id(kStrStopLiveFirst), MessageIcon::Warning}, false};
    if (!confirmPassword || !confirmPassword())
        return {MessageRequest{LangText::Id(kStrWrongPassword), MessageIcon::Warning}, false};
    return {std::nullopt, true};
}
