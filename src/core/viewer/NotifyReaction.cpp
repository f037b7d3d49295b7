#include "core/viewer/NotifyReaction.h"

#include "core/dvr/NotifyCodes.h"
#include "core/viewer/ViewerTimers.h"

namespace {

constexpr int kStrLoginRejected = 6021;
constexpr int kStrWrongPassword = 6022;
constexpr int kStrUnknownAccount = 6023;
constexpr int kStrTooManySessions = 6024;
constexpr int kStrVersionMismatch = 6025;
constexpr int kStrConnectFailed = 6026;
constexpr int kStrLoggedOnAdmin = 6027;
constexpr int kStrPollTimeout = 6028;

void Stop(NotifyReaction& r, int stringId)
{
    r.status = LangText::Id(stringId);
    r.stopSession = true;
}

void LoggedOn(NotifyReaction& r)
{
    r.startTimers.push_back({kTimerFetchSettings, 200});
    r.fetchSettings = true;
}

// Transfers stop the poll timer while they run; their end restarts it so
// the recorder keeps hearing from us.
void RestartPoll(NotifyReaction& r)
{
    r.startTimers.push_back({r.session, kPollPeriodMs});
}

void Message(NotifyReaction& r, LangText text, MessageIcon icon)
{
    r.message = MessageRequest{std::move(text), icon};
}

} // namespace

NotifyReaction ReactToNotify(std::optional<int> session, int code)
{
    NotifyReaction r;
    if (!session || *session < 0 || *session >= kSessionSlots || code < kNotifyFirst || code > kNotifyLast ||
        IsIgnoredNotifyCode(code))
        return r;
    r.ignored = false;
    r.session = *session;

    switch (code) {
    case kNotifyConnectFailed: Stop(r, kStrConnectFailed); break;
    case kNotifyLoggedOnAdmin:
        r.status = LangText::Id(kStrLoggedOnAdmin);
        r.eventLog = "Log on as Administrator";
        LoggedOn(r);
        break;
    case kNotifyLoggedOnUser:
        r.status = LangText::Fixed("Logon User mode");
        LoggedOn(r);
        break;
    case kNotifyWrongPassword:
        Stop(r, kStrWrongPassword);
        r.disconnect = true;
        // The row this connect would have added must not appear.
        r.stopTimers.push_back(kTimerAddServerRow);
        Message(r, LangText::Id(kStrWrongPassword), MessageIcon::Error);
        break;
    case kNotifyUnknownAccount: Stop(r, kStrUnknownAccount); break;
    case kNotifyTooManySessions: Stop(r, kStrTooManySessions); break;
    case kNotifyLinkClosed:
        r.stopSession = true;
        r.disconnect = true;
        Message(r, LangText::Id(kStrLoginRejected), MessageIcon::Information);
        break;
    case kNotifyVersionMismatch: Stop(r, kStrVersionMismatch); break;
    case kNotifyPollTimeout: Stop(r, kStrPollTimeout); break;
    case kNotifyHostKeyChanged:
        // Refused as a failed connect is; the operator is asked about the key.
        Stop(r, kStrConnectFailed);
        r.handoff = NotifyHandoff::HostKeyChanged;
        break;
    case kNotifyMasksChanged: r.handoff = NotifyHandoff::MasksChanged; break;
    case kNotifySettingsReceived:
        r.handoff = NotifyHandoff::SettingsReceived;
        RestartPoll(r);
        break;
    case kNotifySettingsWritten: Message(r, LangText::Fixed("completed"), MessageIcon::Information); break;
    case kNotifySettingsWriteFailed: Message(r, LangText::Fixed("Falied"), MessageIcon::Warning); break;
    case kNotifyOperationRefused: Message(r, LangText::Id(kStrVersionMismatch), MessageIcon::Error); break;
    case kNotifyLiveStarted: r.startTimers.push_back({kTimerLiveStarted, 100}); break;
    case kNotifyLogFound:
    case kNotifyLogBlock: r.handoff = NotifyHandoff::LogDownload; break;
    case kNotifyLogNotFound:
        r.status = LangText::Fixed("Not Found Log File!");
        Message(r, LangText::Fixed("Not Found Log File!"), MessageIcon::Information);
        r.handoff = NotifyHandoff::LogDownload;
        RestartPoll(r);
        break;
    case kNotifyLogLastBlock:
        r.handoff = NotifyHandoff::LogDownload;
        RestartPoll(r);
        break;
    case kNotifyMonthProfileReady:
    case kNotifyDailyProfileBlock: r.handoff = NotifyHandoff::RecordingProfile; break;
    case kNotifyDailyProfileLastBlock:
        r.handoff = NotifyHandoff::RecordingProfile;
        RestartPoll(r);
        break;
    case kNotifyUploadFailed:
        // A failed upload ends the transfer too; an unpolled session would time out.
        r.handoff = NotifyHandoff::Upload;
        RestartPoll(r);
        break;
    case kNotifyUploadReady:
    case kNotifyUploadChunkAccepted:
        r.handoff = NotifyHandoff::Upload;
        r.restartPollIfUploadEnded = true;
        break;
    default:
        // Inside the range but named nowhere: nothing to do.
        r.ignored = true;
        break;
    }
    return r;
}
