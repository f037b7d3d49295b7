#pragma once

#include "core/msg/WindowMessage.h"
#include "core/viewer/ChannelPanel.h"
#include "core/viewer/NotifyReaction.h"
#include "core/viewer/SessionChannels.h"
#include "core/viewer/SessionReconnect.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <map>
#include <optional>
#include <string>

class ViewerStatusPanel;
struct ViewerSessions;
struct ViewerVideo;

// Brings sessions back after their link drops or their recorder stops
// answering: the row stays, its panes say "Reconnecting in N s", and the same
// server is tried again with growing pauses until it takes the log-in; then
// its live channels, audio and panes come back as they were. The operator's
// disconnect ends it (the row goes). Each session follows its server record's
// "Reconnect" value; other sessions are never touched.
class ReconnectController : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 250;

    // What Connect was given: the same server is tried again with it.
    struct Target {
        QString address;
        QString port;
        QString protocol;
        QString account;
        QString password;
    };

    ReconnectController(ViewerSessions& sessions, ViewerVideo& video, ViewerStatusPanel& status, HWND notifyWindow,
                        QObject* parent);

    // Session `index` was opened from the server record `serverName` (its
    // "Reconnect" value decides; on when there is no such record).
    void Remember(int index, const std::string& serverName, Target target);
    // A notification for session `index`, with the reaction the window would apply.
    NotifyReaction Adjust(std::optional<int> index, int code, NotifyReaction reaction);
    // New masks of session `index`, just applied to its buttons: when it is
    // back after a reconnect its earlier channel and audio choice is put back
    // (as far as the recorder still has those channels). True then.
    bool RestoreChoices(int index);

    // What session `index` was opened with; empty for a session not remembered.
    std::optional<Target> TargetOf(int index) const;
    // The session's reconnect state; null for a session not remembered.
    const SessionReconnect* StateOf(int index) const;

private:
    struct Entry {
        Target target;
        SessionReconnect state;
        ChannelPanel panel;        // the choice when the link was lost
        SessionChannels channels;
        std::string notice;        // what its panes say now
        std::uint16_t noticePanes = 0;  // the panes that say it
    };

    Entry* find(int index);
    const Entry* find(int index) const;
    void tick();
    void attempt(int index, Entry& entry);
    void pauseStarted(int index, Entry& entry);
    void showNotice(int index, Entry& entry, std::string text);
    void clearNotice(Entry& entry);

    ViewerSessions& m_sessions;
    ViewerVideo& m_video;
    ViewerStatusPanel& m_status;
    HWND m_notifyWindow;
    std::map<unsigned, Entry> m_entries;  // by session identity: rows move when others close
    QTimer m_timer;
};
