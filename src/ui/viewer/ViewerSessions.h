#pragma once

#include "ui/viewer/SessionRecord.h"

#include <string>

// The main window's sessions and the current one (the selected row; -1 when
// there is none). Commands act on the current session.
struct ViewerSessions {
    ViewerSessionTable table;
    int current = -1;

    bool HasCurrent() const { return table.Has(current); }
    ViewerSessionTable::Row& Current() { return table.At(current); }
    const ViewerSessionTable::Row& Current() const { return table.At(current); }

    // Some session has its row in the connected-server list.
    bool AnyListed() const;
    // Some listed session shows live video (its callback is registered).
    bool AnyListedLive() const;
    // The current session shows live video.
    bool CurrentLive() const;
    // The current session is listed and logged on as administrator.
    bool CurrentMayOpenSetup() const;
    // The password the current recorder keeps for its administrator.
    std::string CurrentAdminPassword() const;
};
