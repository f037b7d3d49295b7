#pragma once

#include "core/dvr/ZerdInfoBlock.h"
#include "core/viewer/SessionTable.h"
#include "platform/netctrl/ZERDNetwork.h"
#include "platform/video/LiveSessionState.h"

#include <QStringList>

// What the main window keeps of one session beside its channel state.
struct SessionRecord {
    LiveSessionState live;        // the live media callback's context; stays at its address
    ZERD_INFO_BLK settings{};     // the settings block as fetched on 110
    bool hasSettings = false;
    bool masksPending = false;    // masks came before the settings block said which model it is
    bool listed = false;          // its row is in list 1012
    int adminFlag = 0;            // 1 after an administrator log-on, 0 in user mode
    std::uint16_t alarmPanes = 0; // its panes showing cameras of active sensors
    QString typeText;             // model name of its server record, when picked from one
    QStringList statusLines;      // what its message list shows
};

using ViewerSessionTable = SessionTable<CZERDNetwork, SessionRecord>;
