#pragma once

#include "core/viewer/ChannelPanel.h"
#include "core/viewer/DisconnectPlan.h"
#include "core/viewer/ServerDescriptor.h"
#include "core/viewer/SessionChannels.h"
#include "core/viewer/ViewerTimers.h"

#include <array>
#include <memory>
#include <optional>

// The main window's sessions: row index = session index, rows dense from 0.
// Each row is held by pointer, so removing one moves the later rows down
// without moving or copying their session objects: no connection is ever
// closed by a move, and a record stays at its address while the live media
// callback may still be using it as its context.
//
// Each session keeps its own button state, so masks that arrive for a session
// that is not the current one set up that session and leave the buttons on
// screen alone.
//
// Handle is the session object (unique SessionId()); Record holds the rest of
// the session's state that the window keeps.
template <class Handle, class Record>
class SessionTable {
public:
    struct Row {
        Handle session;
        Record record;
        ServerDescriptor descriptor;
        SessionChannels channels;
        ChannelPanel panel;  // its buttons; the widgets show the current session's
        bool settingsFetchPending = false;  // timer 100 reads its settings block
    };

    int Count() const { return m_count; }
    bool Full() const { return m_count == kSessionSlots; }

    // A fresh row at the end; its index is the count before. Empty when all
    // slots are in use.
    std::optional<int> Append()
    {
        if (Full())
            return std::nullopt;
        m_rows[m_count] = std::make_unique<Row>();
        return m_count++;
    }

    bool Has(int index) const { return index >= 0 && index < m_count; }
    Row& At(int index) { return *m_rows[index]; }
    const Row& At(int index) const { return *m_rows[index]; }

    std::optional<int> FindBySessionId(unsigned id) const
    {
        for (int i = 0; i < m_count; ++i)
            if (m_rows[i]->session.SessionId() == id)
                return i;
        return std::nullopt;
    }

    int LiveChannelTotal() const { return LiveChannelsExcept(-1); }

    int LiveChannelsExcept(int index) const
    {
        int total = 0;
        for (int i = 0; i < m_count; ++i)
            if (i != index)
                total += m_rows[i]->channels.liveCount;
        return total;
    }

    struct Removal {
        std::unique_ptr<Row> row;  // empty when there was no such row
        DisconnectPlan plan;
    };

    // Takes row `index` out (the caller has stopped its session and closes it
    // through the returned row) and moves every later row down one place.
    Removal Remove(int index)
    {
        Removal out;
        if (!Has(index))
            return out;
        out.row = std::move(m_rows[index]);
        for (int i = index; i + 1 < m_count; ++i) {
            m_rows[i] = std::move(m_rows[i + 1]);
            out.plan.rearmPollTimers.push_back(i);
        }
        --m_count;
        out.plan.stopPollTimer = m_count;
        return out;
    }

private:
    std::array<std::unique_ptr<Row>, kSessionSlots> m_rows;
    int m_count = 0;
};
