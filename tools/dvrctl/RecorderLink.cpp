#include "RecorderLink.h"

#include <algorithm>
#include <iostream>
#include <string>

#include "core/dvr/NotifyCodes.h"
#include "core/servers/HostKeyChangeText.h"
#include "platform/registry/RegistryHostKeyPins.h"
#include "platform/registry/SqliteRegistry.h"

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
    // The pins live in the viewer's settings database, so both programs know
    // the same recorders.
    RegistryOpenResult store = OpenUserRegistry();
    if (!store.movedAsidePath.empty())
        std::cerr << "dvrctl: the damaged settings database was moved to " << store.movedAsidePath << "\n";
    if (!store.backend) {
        m_reason = "the settings database that keeps the recorders' keys cannot be opened: " + store.error;
        return kExitRefused;
    }
    m_pins = std::make_shared<RegistryHostKeyPins>(store.backend);
    CZERDNetwork::SetHostKeyVerifier(m_pins);
    m_host = options.host;
    m_port = static_cast<std::uint16_t>(options.port);
    int result = logIn(options);
    if (result == kExitHostKeyChanged && options.acceptNewKey) {
        m_pins->Trust(m_host, m_port, m_net.GetPresentedKeyFingerprint());
        // A fresh session with its own identity: whatever the refused one
        // still posts is not taken for the new one's.
        m_net = CZERDNetwork();
        result = logIn(options);
    }
    return result;
}

int RecorderLink::logIn(const DvrctlOptions& options)
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
    case kNotifyHostKeyChanged:
        m_reason = HostKeyRefusalLine(
            {m_host, m_port, m_net.GetPinnedKeyFingerprint(), m_net.GetPresentedKeyFingerprint()});
        return kExitHostKeyChanged;
    case kNotifyOperationRefused:
        m_reason = "the recorder does not support this operation";
        return kExitRefused;
    default:
        return kExitOk;
    }
}
