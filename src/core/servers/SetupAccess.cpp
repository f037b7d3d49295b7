#include "core/servers/SetupAccess.h"

#include "core/dvr/NotifyCodes.h"

std::optional<int> AdminFlagForNotify(int code)
{
    switch (code) {
    case kNotifyLoggedOnAdmin:
        return 1;
    case kNotifyLoggedOnUser:
        return 0;
    default:
        return std::nullopt;
    }
}

bool SetupButtonEnabled(int adminFlag)
{
    return adminFlag == 1;
}

bool SetupPasswordAccepted(const std::string& typed, const std::string& dvrAdminPassword)
{
    return !typed.empty() && typed == dvrAdminPassword;
}
