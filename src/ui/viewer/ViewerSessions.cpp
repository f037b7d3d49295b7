#include "ui/viewer/ViewerSessions.h"

#include "core/servers/SetupAccess.h"

#include <cstring>

bool ViewerSessions::AnyListed() const
{
    for (int i = 0; i < table.Count(); ++i)
        if (table.At(i).record.listed)
            return true;
    return false;
}

bool ViewerSessions::AnyListedLive() const
{
    for (int i = 0; i < table.Count(); ++i)
        if (table.At(i).record.listed && table.At(i).record.live.callbackRegistered)
            return true;
    return false;
}

bool ViewerSessions::CurrentLive() const
{
    return HasCurrent() && Current().record.live.callbackRegistered;
}

bool ViewerSessions::CurrentMayOpenSetup() const
{
    return HasCurrent() && Current().record.listed && SetupButtonEnabled(Current().record.adminFlag);
}

std::string ViewerSessions::CurrentAdminPassword() const
{
    if (!HasCurrent())
        return {};
    const auto& system = Current().record.settings.system;
    return std::string(system.adminPassword, strnlen(system.adminPassword, sizeof system.adminPassword - 1));
}
