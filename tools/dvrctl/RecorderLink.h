#pragma once

#include <chrono>
#include <initializer_list>

#include "DvrctlOptions.h"
#include "NotificationQueue.h"
#include "platform/netctrl/ZERDNetwork.h"

// dvrctl's exit codes.
enum DvrctlExit {
    kExitOk = 0,
    kExitRefused = 1,     // the recorder refused the operation, or it failed
    kExitUsage = 2,
    kExitLoginRefused = 3,
    kExitUnreachable = 4, // cannot connect, link lost, no answer
    kExitNoLog = 5,
};

// One logged-in session for one command, and the waits on its notifications.
class RecorderLink {
public:
    RecorderLink() = default;
    ~RecorderLink();

    // Connects and logs in; kExitOk or the exit code of the failure.
    int Open(const DvrctlOptions& options);
    bool Administrator() const { return m_administrator; }
    CZERDNetwork& Net() { return m_net; }

    // Waits until one of `codes` arrives (stored in *got). Other notifications
    // are skipped unless they end the session: then their exit code returns.
    int Await(std::initializer_list<int> codes, int* got);

    // The one line on stderr that explains the last failed Open or Await.
    const char* Reason() const { return m_reason; }

private:
    NotificationQueue m_queue;
    CZERDNetwork m_net;
    bool m_administrator = false;
    const char* m_reason = "";
};
