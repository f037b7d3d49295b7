#include "RecorderLink.h"

#include <algorithm>
#include <string>

#include "core/dvr/NotifyCodes.h"

namespace {

// Longer than the library's own limit for an unanswered request, so that its
// more precise notification normally comes first.
constexpr std::chrono::seconds kAwaitLimit{15};

} // namespace

RecorderLink::~RecorderLink()
{
    m_net.Destroy();
    m_net.SessionClose();
}

int RecorderLink::Open(const DvrctlOptions& options)
{
    std::string host = options.host;
    if (!m_net.Create(host.data(), static_cast<short>(options.port), !options.udp, kMsgNetworkNotify,
                      m_queue.Handle(), 0)) {
        m_reason = "cannot connect to the recorder";
        return kExitUnreachable;
    }
    std::string account = options.account;
    std::string password = options.password;
    m_net.SessionOpen(account.data(), password.data());
    int code = 0;
    int result = Await({kNotifyLoggedOnAdmin, kNotifyLoggedOnUser}, &code);
    m_administrator = code == kNotifyLoggedOnAdmin;
    return result;
}

int RecorderLink::Await(std::initializer_list<int> codes, int* got)
{
    auto deadline = std::chrono::steady_clock::now() + kAwaitLimit;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        auto message = m_queue.Take(std::max(left, std::chrono::milliseconds(0)));
        if (!message) {
            m_reason = "the recorder did not answer";
            return kExitUnreachable;
        }
        if (message->message != kMsgNetworkNotify || message->wParam != m_net.SessionId())
            continue;
        int code = static_cast<int>(message->lParam);
        if (std::find(codes.begin(), codes.end(), code) != codes.end()) {
            *got = code;
            return kExitOk;
        }
        if (int result = EndingCode(code))
            return result;
    }
}

int RecorderLink::Pump(std::chrono::milliseconds wait)
{
    auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        auto message = m_queue.Take(std::max(left, std::chrono::milliseconds(0)));
        if (!message)
            return kExitOk;
        if (message->message != kMsgNetworkNotify || message->wParam != m_net.SessionId())
            continue;
        if (int result = EndingCode(static_cast<int>(message->lParam)))
            return result;
    }
}

int RecorderLink::FetchSettings(ZERD_INFO_BLK* block)
{
    if (!m_net.GetDVRInfo()) {
        m_reason = "the session is not open";
        return kExitUnreachable;
    }
    int code = 0;
    if (int result = Await({kNotifySettingsReceived}, &code))
        return result;
    if (block)
        *block = m_net.GetReceivedDVRInfo();
    return kExitOk;
}

int RecorderLink::EndingCode(int code)
{
    switch (code) {
    case kNotifyConnectFailed:
        m_reason = "cannot connect to the recorder";
        return kExitUnreachable;
    case kNotifyWrongPassword:
        m_reason = "log-in refused: wrong password";
        return kExitLoginRefused;
    case kNotifyUnknownAccount:
        m_reason = "log-in refused: unknown account";
        return kExitLoginRefused;
    case kNotifyTooManySessions:
        m_reason = "the recorder serves too many sessions";
        return kExitUnreachable;
    case kNotifyLinkClosed:
        m_reason = "the recorder closed the link";
        return kExitUnreachable;
    case kNotifyVersionMismatch:
        m_reason = "the recorder speaks another protocol version";
        return kExitUnreachable;
    case kNotifyPollTimeout:
        m_reason = "the recorder stopped answering";
        return kExitUnreachable;
    case kNotifyOperationRefused:
        m_reason = "the recorder does not support this operation";
        return kExitRefused;
    default:
        return kExitOk;
    }
}
