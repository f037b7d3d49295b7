#include "PlayCommand.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "CommandArguments.h"
#include "DvrctlCommands.h"
#include "PlaybackPacer.h"
#include "RecorderLink.h"
#include "core/mpeg/PesPacket.h"
#include "core/mpeg/ProgramStreamUnit.h"
#include "core/mpeg/StartCode.h"
#include "core/video/OverlayState.h"
#include "platform/decoder/LiveDecoder.h"
#include "platform/video/LiveSessionState.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/VideoWindowState.h"

namespace {

constexpr int kDefaultTimeoutSeconds = 8;
constexpr int kMaxTimeoutSeconds = 3600;
constexpr int kDecoderModeH264 = 1;
// Units are handed on as they fall due, checked every couple of milliseconds;
// pictures at least this far apart whatever their stamps say.
constexpr int kFeedIntervalMs = 2;
constexpr std::chrono::milliseconds kMinPictureGap{10};
constexpr int kCheckIntervalMs = 20;

const std::map<std::string, LayoutMode> kLayouts = {{"1", LayoutMode::Single},
                                                    {"4", LayoutMode::Quad},
                                                    {"8", LayoutMode::Eight},
                                                    {"9", LayoutMode::Nine},
                                                    {"16", LayoutMode::Sixteen}};

struct PlayRequest {
    std::string file;
    std::string shot;
    LayoutMode layout = LayoutMode::Sixteen;
    int timeoutSeconds = kDefaultTimeoutSeconds;
};

// Without a display the window is drawn offscreen; a platform chosen by the
// caller is kept.
void ChooseOffscreenWithoutDisplay()
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// The stamp of a unit that starts a video picture.
std::optional<std::uint64_t> PictureStamp(const mpeg::UnitSplitter::Unit& unit)
{
    if (unit.kind != mpeg::UnitKind::Pes)
        return std::nullopt;
    auto pes = mpeg::ParsePesPacket(unit.data, unit.size);
    if (!pes || !pes->hasPts || (pes->streamId & 0xF0) != mpeg::kVideoStreamIdBase)
        return std::nullopt;
    return pes->pts;
}

// The lowest channel the file has video for (stream id 0xE0 + channel); 0
// when it has none. A file played alone shows its pictures in every layout
// when the layout starts there: ffmpeg's VOB muxer, for one, writes its only
// video stream as 0xE2.
int FirstVideoChannel(const std::vector<unsigned char>& stream)
{
    mpeg::UnitSplitter splitter(stream.data(), stream.size(), true);
    mpeg::UnitSplitter::Unit unit{};
    int first = kPaneCount;
    while (first > 0 && splitter.Next(&unit)) {
        if (unit.kind != mpeg::UnitKind::Pes)
            continue;
        auto pes = mpeg::ParsePesPacket(unit.data, unit.size);
        if (pes && (pes->streamId & 0xF0) == mpeg::kVideoStreamIdBase)
            first = std::min(first, pes->streamId & 0x0F);
    }
    return first == kPaneCount ? 0 : first;
}

// True when a visible pane shows a decoded picture it has painted.
bool PanesShowPictures(CLiveDecoder& decoder, const PaneLayout& layout)
{
    for (int channel = 0; channel < kPaneCount; ++channel) {
        if (layout[static_cast<std::size_t>(channel)].IsHidden())
            continue;
        if (decoder.GetVideoWidth(channel) > 0 && decoder.GetStats(channel).presented > 0)
            return true;
    }
    return false;
}

int Play(const PlayRequest& request, const std::vector<unsigned char>& stream)
{
    UseSilentAudio();
    ChooseOffscreenWithoutDisplay();
    int argc = 1;
    char name[] = "dvrctl";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    CLiveDecoder decoder;
    OverlayState overlay;
    VideoWindowState state;
    CRenderWnd window(&decoder, &overlay, &state);
    if (!decoder.Initialise(window.Handle(), kDecoderModeH264, LiveSessionState::kAssumedWidth,
                            LiveSessionState::kAssumedHeight, false))
        return Fail(kExitRefused, "the decoder did not start");
    const PaneLayout layout = WindowedLayout(request.layout, FirstVideoChannel(stream));
    window.ApplyPanes(layout);
    window.show();

    mpeg::UnitSplitter splitter(stream.data(), stream.size(), true);
    PlaybackPacer pacer(kMinPictureGap);
    mpeg::UnitSplitter::Unit unit{};
    std::optional<std::chrono::milliseconds> unitDue;  // the unit waiting for its time
    const auto start = std::chrono::steady_clock::now();
    QTimer feeder;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        const auto now = std::chrono::steady_clock::now() - start;
        for (;;) {
            if (!unitDue) {
                if (!splitter.Next(&unit)) {
                    feeder.stop();
                    return;
                }
                unitDue = pacer.Schedule(PictureStamp(unit));
            }
            if (*unitDue > now)
                return;
            decoder.Demux(unit.data, unit.data + unit.size, 0);
            unitDue.reset();
        }
    });
    int result = kExitNoPicture;
    QTimer checker;
    QObject::connect(&checker, &QTimer::timeout, [&] {
        if (!PanesShowPictures(decoder, layout)) {
            window.update();
            return;
        }
        result = window.grab().save(QString::fromStdString(request.shot), "PNG") ? kExitOk : kExitRefused;
        app.quit();
    });
    QTimer::singleShot(request.timeoutSeconds * 1000, &app, [&] { app.quit(); });
    feeder.start(kFeedIntervalMs);
    checker.start(kCheckIntervalMs);
    app.exec();
    decoder.DisposeDecodeSystems();
    if (result == kExitNoPicture)
        return Fail(result, "no picture from " + request.file + " within " + std::to_string(request.timeoutSeconds)
                                + " seconds");
    if (result != kExitOk)
        return Fail(result, "cannot write " + request.shot);
    return kExitOk;
}

} // namespace

int RunPlay(const DvrctlOptions& options)
{
    std::string error;
    auto args = CommandArguments::Parse(options.arguments, {"--shot", "--layout", "--timeout"}, &error);
    if (!args)
        return Fail(kExitUsage, error);
    PlayRequest request;
    auto shot = args->options.find("--shot");
    if (shot == args->options.end() || args->words.size() != 1)
        return Fail(kExitUsage, "play takes one file and --shot OUT.png");
    request.file = args->words.front();
    request.shot = shot->second;
    if (auto layout = args->options.find("--layout"); layout != args->options.end()) {
        auto mode = kLayouts.find(layout->second);
        if (mode == kLayouts.end())
            return Fail(kExitUsage, "--layout needs 1, 4, 8, 9 or 16");
        request.layout = mode->second;
    }
    if (auto timeout = args->options.find("--timeout"); timeout != args->options.end()) {
        auto seconds = ParseBoundedNumber(timeout->second, 1, kMaxTimeoutSeconds);
        if (!seconds)
            return Fail(kExitUsage, "--timeout needs a number of seconds from 1 to 3600");
        request.timeoutSeconds = *seconds;
    }
    std::ifstream in(request.file, std::ios::binary);
    if (!in)
        return Fail(kExitRefused, "cannot read " + request.file);
    std::vector<unsigned char> stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Fail(kExitRefused, "cannot read " + request.file);
    return Play(request, stream);
}
