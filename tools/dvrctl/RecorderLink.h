#pragma once

#include <chrono>
#include <initializer_list>
#include <memory>
#include <string>

#include "DvrctlOptions.h"
#include "NotificationQueue.h"
#include "platform/netctrl/HostKeyVerifier.h"
#include "platform/netctrl/ZERDNetwork.h"

// dvrctl's exit codes.
enum DvrctlExit {
    kExitOk = 0,
    kExitRefused = 1,     // the recorder refused the operation, or it failed
    kExitUsage = 2,
    kExitLoginRefused = 3,
    kExitUnreachable = 4, // cannot connect, link lost, no answer
    kExitNoLog = 5,
    kExitDdnsConnectionFailed = 6, // the DDNS server refused or cannot be reached
    kExitDdnsInvalid = 7,          // the DDNS server does not know the name
    kExitDdnsNoAnswer = 8,         // the DDNS server did not answer in time
    kExitNoPicture = 9,            // no decoded picture within the time allowed
    kExitHostKeyChanged = 10,      // the recorder shows another key than the one pinned
};

// One logged-in session for one command, and the waits on its notifications.
class RecorderLink {
public:
    RecorderLink() = default;
    ~RecorderLink();

    // Connects and logs in; kExitOk or the exit code of the failure. The
    // recorder's key is checked against the pins of the user's settings
    // database; with acceptNewKey a changed one is trusted and the log-in
    // made again.
    int Open(const DvrctlOptions& options);
    bool Administrator() const { return m_administrator; }
    CZERDNetwork& Net() { return m_net; }

    // Waits until one of `codes` arrives (stored in *got). Other notifications
    // are skipped unless they end the session: then their exit code returns.
    int Await(std::initializer_list<int> codes, int* got);
    // Takes the notifications that arrive within `wait`: the exit code of one
    // that ends the session, else kExitOk.
    int Pump(std::chrono::milliseconds wait);
    // Asks for the settings block and waits for it (into *block when given).
    // Requests are answered in order, so its arrival also says that every
    // request sent before it was taken.
    int FetchSettings(ZERD_INFO_BLK* block = nullptr);

    // The one line on stderr that explains the last failed Open or Await.
    const char* Reason() const { return m_reason.c_str(); }

private:
    // The exit code of a notification that ends the session (with its reason
    // stored), kExitOk for any other.
    int EndingCode(int code);
    int logIn(const DvrctlOptions& options);

    NotificationQueue m_queue;
    CZERDNetwork m_net;
    std::shared_ptr<HostKeyVerifier> m_pins;
    std::string m_host;
    std::uint16_t m_port = 0;
    bool m_administrator = false;
    std::string m_reason;
};
