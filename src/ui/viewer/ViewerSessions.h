#pragma once

#include "ui/viewer/SessionRecord.h"

// The main window's sessions and the current one (the selected row; -1 when
// there is none). Commands act on the current session.
struct ViewerSessions {
    ViewerSessionTable table;
    int current = -1;

    bool HasCurrent() const { return table.Has(current); }
    ViewerSessionTable::Row& Current() { return table.At(current); }
    const ViewerSessionTable::Row& Current() const { return table.At(current); }
    // Some session has its row in the connected-server list.
    bool AnyListed() const
    {
        for (int i = 0; i < table.Count(); ++i)
            if (table.At(i).record.listed)
                return true;
        return false;
    }
};
