#include "SnapshotCommand.h"

#include <QImage>
#include <QPainter>

#include <chrono>
#include <string>

#include "CommandArguments.h"
#include "DvrctlCommands.h"
#include "NotificationQueue.h"
#include "RecorderLink.h"
#include "core/dvr/NotifyCodes.h"
#include "core/dvr/SettingsBlock.h"
#include "platform/decoder/LiveDecoder.h"
#include "platform/video/LiveChannels.h"
#include "platform/video/LiveSessionState.h"

namespace {

constexpr int kDefaultTimeoutSeconds = 8;
constexpr int kMaxTimeoutSeconds = 3600;
// H.264 stream map; the decoder also recognises MPEG-4 video by its bytes.
constexpr int kDecoderModeH264 = 1;
// The pane the picture is presented in: small, the file gets the decoded size.
constexpr int kPaneWidth = 176;
constexpr int kPaneHeight = 144;
constexpr std::chrono::milliseconds kPollStep{20};

struct SnapshotRequest {
    int camera = 0;  // 0-based
    int timeoutSeconds = kDefaultTimeoutSeconds;
    std::string path;
};

std::string NoPicture(const SnapshotRequest& request)
{
    return "no picture from channel " + std::to_string(request.camera + 1) + " within "
        + std::to_string(request.timeoutSeconds) + " seconds";
}

// Why a UDP session may see no picture: what its datagrams lost on the way.
std::string DroppedDatagramsText(const netauth::DroppedDatagrams& dropped)
{
    if (dropped.unauthentic == 0 && dropped.replayed == 0)
        return "";
    return "; live datagrams dropped: " + std::to_string(dropped.unauthentic) + " failed authentication, "
        + std::to_string(dropped.replayed) + " repeated or too old";
}

// Presents the channel's newest picture (as the video window would) and
// writes it once the channel has one; waits for the session otherwise.
int WaitAndCapture(RecorderLink& link, CLiveDecoder& decoder, NotificationQueue& frames, int channel,
                   const SnapshotRequest& request)
{
    QImage pane(kPaneWidth, kPaneHeight, QImage::Format_RGB32);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(request.timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (int result = link.Pump(kPollStep))
            return Fail(result, link.Reason());
        // A camera the recorder does not report never sends a picture.
        const unsigned short cameras = link.Net().GetVideoChannelMask();
        if (cameras != 0 && (cameras & (1u << request.camera)) == 0)
            return Fail(kExitNoPicture, "the recorder has no channel " + std::to_string(request.camera + 1));
        bool repaint = false;
        while (auto message = frames.Take(std::chrono::milliseconds(0)))
            repaint = repaint || message->message == kMsgVideoFramesReady;
        if (repaint) {
            QPainter painter(&pane);
            decoder.PaintVideo(painter);
        }
        if (decoder.GetVideoWidth(channel) > 0 && decoder.GetStats(channel).presented > 0) {
            if (decoder.CaptureJPEG(request.path.c_str(), channel))
                return kExitOk;
            return Fail(kExitRefused, "cannot write " + request.path);
        }
    }
    return Fail(kExitNoPicture, NoPicture(request) + DroppedDatagramsText(link.Net().GetDroppedDatagrams()));
}

int Snapshot(const SnapshotRequest& request, const DvrctlOptions& options)
{
    RecorderLink link;
    if (int result = link.Open(options))
        return Fail(result, link.Reason());
    ZERD_INFO_BLK block{};
    if (int result = link.FetchSettings(&block))
        return Fail(result, link.Reason());

    UseSilentAudio();
    NotificationQueue frames;
    CLiveDecoder decoder;
    LiveChannelRequest live;
    live.checkedButtons = static_cast<std::uint16_t>(1u << request.camera);
    live.dvrType = DvrTypeCode(block);
    live.perCameraStreams = block.recordSet.resolution[0] != 0;
    const bool pairedPictures = IsPairedDvrType(live.dvrType) && !live.perCameraStreams;
    if (!decoder.Initialise(frames.Handle(), kDecoderModeH264, LiveSessionState::kAssumedWidth,
                            LiveSessionState::kAssumedHeight, pairedPictures))
        return Fail(kExitRefused, "the decoder did not start");
    LiveSessionState session;
    session.Attach(&decoder, 0);
    std::uint16_t occupiedPanes = 0;
    const LiveStartPlan plan = StartLiveChannels(decoder, session, &link.Net(), occupiedPanes, live);
    int result = kExitOk;
    if (plan.mappings.empty()) {
        result = Fail(kExitNoPicture, NoPicture(request));
    } else {
        const int channel = plan.mappings.front().channel;
        decoder.SetVideoPos(channel, 0, 0, kPaneWidth, kPaneHeight);
        link.Net().LiveMediaControl(plan.requestedVideo, 0);
        result = WaitAndCapture(link, decoder, frames, channel, request);
        link.Net().LiveMediaControl(0, 0);
    }
    // No callback may run into the session or decoder once they are gone.
    StopLiveChannels(session, &link.Net(), occupiedPanes);
    return result;
}

} // namespace

int RunSnapshot(const DvrctlOptions& options)
{
    std::string error;
    auto args = CommandArguments::Parse(options.arguments, {"--channel", "--timeout"}, &error);
    if (!args)
        return Fail(kExitUsage, error);
    SnapshotRequest request;
    auto channel = args->options.find("--channel");
    if (channel == args->options.end() || args->words.size() != 1)
        return Fail(kExitUsage, "snapshot takes --channel N and one output file");
    auto number = ParseBoundedNumber(channel->second, 1, LiveSessionState::kChannels);
    if (!number)
        return Fail(kExitUsage, "--channel needs a number from 1 to 16");
    request.camera = *number - 1;
    if (auto timeout = args->options.find("--timeout"); timeout != args->options.end()) {
        auto seconds = ParseBoundedNumber(timeout->second, 1, kMaxTimeoutSeconds);
        if (!seconds)
            return Fail(kExitUsage, "--timeout needs a number of seconds from 1 to 3600");
        request.timeoutSeconds = *seconds;
    }
    request.path = args->words.front();
    return Snapshot(request, options);
}
