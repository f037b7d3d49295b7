#include "platform/decoder/MPEG4MultiDecoder.h"

#include "core/mpeg/PackHeader.h"
#include "core/mpeg/PesPacket.h"
#include "core/mpeg/ProgramStreamMap.h"
#include "core/mpeg/ProgramStreamUnit.h"
#include "core/mpeg/StartCode.h"
#include "platform/app/DrivePaths.h"
#include "platform/audio/AudioOutput.h"
#include "platform/decoder/ChannelDecoder.h"
#include "platform/decoder/ChannelState.h"
#include "platform/decoder/DecoderWorkers.h"
#include "platform/decoder/JpegWriter.h"
#include "platform/decoder/RepaintRequester.h"

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
}

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Qt's raster engine hands a copy of 96 lines or more to its thread pool; for
// a pane's picture, waking the pool's threads costs more than the copy, so a
// picture of the pane's own size goes in strips this thread copies itself.
constexpr int kPaintStripLines = 64;

void DrawPicture(QPainter& painter, const QRect& target, const QImage& image)
{
    if (image.size() != target.size()) {
        painter.drawImage(target, image);
        return;
    }
    for (int top = 0; top < image.height(); top += kPaintStripLines) {
        const int lines = std::min(kPaintStripLines, image.height() - top);
        painter.drawImage(QPoint(target.left(), target.top() + top), image, QRect(0, top, image.width(), lines));
    }
}

bool ValidChannel(int channel)
{
    return channel >= 0 && channel < CMPEG4MultiDecoder::kChannels;
}

// "c:\DVR\..." as the client writes it, or a path of this machine.
std::string LocalPath(const char* path)
{
    const std::string text(path);
    const bool windowsDrive = text.size() >= 3 && text[1] == ':' && (text[2] == '\\' || text[2] == '/');
    return windowsDrive ? drive::MapWindowsPath(text) : text;
}

} // namespace

void MP4MUL_InitializeDecoder()
{
    // Damaged network data would otherwise fill stderr with decoder complaints.
    av_log_set_level(AV_LOG_FATAL);
}

void MP4MUL_DestroyDecoder()
{
}

void MP4MUL_make_pack_header(unsigned char* out16)
{
    mpeg::WritePackHeader(out16);
}

void MP4MUL_make_program_stream_map(unsigned char* out276, const unsigned char* streamTypes32,
                                    const int* maxWidths32, const int* maxHeights32,
                                    const unsigned char* streamIds32)
{
    mpeg::WriteProgramStreamMap(out276, streamTypes32, maxWidths32, maxHeights32, streamIds32);
}

class CMPEG4MultiDecoder::Impl {
public:
    void Dispose();
    void HandleUnit(const mpeg::UnitSplitter::Unit& unit);
    void HandlePes(const mpeg::PesPacket& pes);

    // Permanent: shared with the decoder workers and the window's thread,
    // each with its own synchronisation.
    std::array<ChannelState, kChannels> channels;
    RepaintRequester repaint;
    std::atomic<bool> deinterlace{false};
    std::atomic<int> audioCamera{0};
    std::atomic<int> volume{100};

    PaintObserver* paintObserver = nullptr;  // the window's thread only

    std::mutex callbackLock;  // guards callback, callbackContext
    MP4MUL_RenderCallback callback = nullptr;
    void* callbackContext = nullptr;

    std::mutex systemLock;  // guards initialised, decoders, workers, audio, streamTypes
    bool initialised = false;
    std::array<std::unique_ptr<ChannelDecoder>, kChannels> decoders;
    std::unique_ptr<DecoderWorkers> workers;  // runs the decoders' turns
    std::unique_ptr<AudioOutput> audio;
    std::array<uint8_t, 256> streamTypes{};  // by stream id, from the last map; 0 = not declared
};

void CMPEG4MultiDecoder::Impl::Dispose()
{
    repaint.SetWindow(0);
    workers.reset();  // before the decoders whose turns they run
    for (auto& decoder : decoders)
        decoder.reset();
    audio.reset();
    streamTypes.fill(0);
    for (ChannelState& channel : channels)
        channel.Reset();
    initialised = false;
}

void CMPEG4MultiDecoder::Impl::HandleUnit(const mpeg::UnitSplitter::Unit& unit)
{
    if (unit.kind == mpeg::UnitKind::StreamMap) {
        if (auto map = mpeg::ParseProgramStreamMap(unit.data, unit.size)) {
            streamTypes.fill(0);
            for (const mpeg::StreamMapEntry& entry : map->entries)
                streamTypes[entry.streamId] = entry.streamType;
        }
    } else if (unit.kind == mpeg::UnitKind::Pes) {
        if (auto pes = mpeg::ParsePesPacket(unit.data, unit.size))
            HandlePes(*pes);
    }
}

void CMPEG4MultiDecoder::Impl::HandlePes(const mpeg::PesPacket& pes)
{
    if (!initialised)
        return;
    const uint8_t id = pes.streamId;
    if ((id & 0xF0) == mpeg::kVideoStreamIdBase) {
        const int channel = id & 0x0F;
        decoders[channel]->Submit(pes, mpeg::VideoCodecForStreamType(streamTypes[id]));
        workers->Wake(std::size_t(channel));
    } else if (id == mpeg::kAudioStreamIdBase + audioCamera.load() && streamTypes[id] == mpeg::kStreamTypeMuLaw) {
        audio->PlayMuLaw(pes.payload, pes.payloadSize);
    }
}

CMPEG4MultiDecoder::CMPEG4MultiDecoder() : m_impl(std::make_unique<Impl>())
{
}

CMPEG4MultiDecoder::~CMPEG4MultiDecoder()
{
    DisposeDecodeSystems();
}

bool CMPEG4MultiDecoder::InitializeDecodeSystems(HWND videoWindow, bool, bool)
{
    std::lock_guard guard(m_impl->systemLock);
    m_impl->Dispose();
    if (!avcodec_find_decoder(AV_CODEC_ID_H264) || !avcodec_find_decoder(AV_CODEC_ID_MPEG4))
        return false;
    std::vector<DecoderJob*> jobs;
    for (int channel = 0; channel < kChannels; ++channel) {
        m_impl->decoders[channel] =
            std::make_unique<ChannelDecoder>(channel, m_impl->channels[channel], m_impl->deinterlace, m_impl->repaint);
        jobs.push_back(m_impl->decoders[channel].get());
    }
    m_impl->workers = std::make_unique<DecoderWorkers>(std::move(jobs), DecoderWorkers::DefaultThreadCount(kChannels));
    m_impl->audio = std::make_unique<AudioOutput>();
    m_impl->audio->SetVolume(m_impl->volume.load());
    m_impl->repaint.SetWindow(videoWindow);
    m_impl->initialised = true;
    return true;
}

void CMPEG4MultiDecoder::DisposeDecodeSystems()
{
    std::lock_guard guard(m_impl->systemLock);
    m_impl->Dispose();
}

int CMPEG4MultiDecoder::Demux(const unsigned char* begin, const unsigned char* end, int)
{
    if (!begin || !end || end <= begin)
        return -1;
    std::lock_guard guard(m_impl->systemLock);
    mpeg::UnitSplitter splitter(begin, size_t(end - begin), true);
    mpeg::UnitSplitter::Unit unit{};
    bool any = false;
    while (splitter.Next(&unit)) {
        m_impl->HandleUnit(unit);
        any = true;
    }
    return any ? int(end - begin) : -1;
}

void CMPEG4MultiDecoder::SetVideoPos(int channel, int left, int top, int right, int bottom)
{
    if (ValidChannel(channel))
        m_impl->channels[channel].SetPane(VideoRect{left, top, right, bottom});
}

void CMPEG4MultiDecoder::SetVideoViewport(int channel, int left, int top, int right, int bottom)
{
    if (ValidChannel(channel))
        m_impl->channels[channel].SetViewport(VideoRect{left, top, right, bottom});
}

int CMPEG4MultiDecoder::GetVideoWidth(int channel)
{
    return ValidChannel(channel) ? m_impl->channels[channel].Width() : 0;
}

int CMPEG4MultiDecoder::GetVideoHeight(int channel)
{
    return ValidChannel(channel) ? m_impl->channels[channel].Height() : 0;
}

bool CMPEG4MultiDecoder::Redraw()
{
    {
        std::lock_guard guard(m_impl->systemLock);
        if (!m_impl->initialised)
            return false;
    }
    m_impl->repaint.Request(RepaintRequester::kAllChannels);
    return true;
}

void CMPEG4MultiDecoder::SetRenderCallback(MP4MUL_RenderCallback fn, void* context)
{
    std::lock_guard guard(m_impl->callbackLock);
    m_impl->callback = fn;
    m_impl->callbackContext = context;
}

void CMPEG4MultiDecoder::SelectAudioChannel(int camera)
{
    if (camera < 0 || camera >= kChannels)
        return;
    std::lock_guard guard(m_impl->systemLock);
    if (m_impl->audioCamera.exchange(camera) != camera && m_impl->audio)
        m_impl->audio->Flush();
}

void CMPEG4MultiDecoder::SetVolume(int volume0to100)
{
    std::lock_guard guard(m_impl->systemLock);
    m_impl->volume.store(volume0to100);
    if (m_impl->audio)
        m_impl->audio->SetVolume(volume0to100);
}

void CMPEG4MultiDecoder::SetDeinterlace(bool on)
{
    m_impl->deinterlace.store(on);
}

bool CMPEG4MultiDecoder::CaptureJPEG(const char* path, int channel)
{
    if (!path || !ValidChannel(channel))
        return false;
    AVFrame* frame = av_frame_alloc();
    if (!frame)
        return false;
    const bool ok = m_impl->channels[channel].CopyFrame(frame) && WriteJpegFile(frame, LocalPath(path));
    av_frame_free(&frame);
    return ok;
}

void CMPEG4MultiDecoder::ClearChannel(int channel)
{
    if (!ValidChannel(channel))
        return;
    {
        std::lock_guard guard(m_impl->systemLock);
        if (m_impl->decoders[channel])
            m_impl->decoders[channel]->Resync();
    }
    m_impl->channels[channel].Clear();
    m_impl->repaint.Request(std::uint32_t{1} << channel);
}

std::uint16_t CMPEG4MultiDecoder::TakeChangedChannels()
{
    return static_cast<std::uint16_t>(m_impl->repaint.TakeChannels());
}

void CMPEG4MultiDecoder::PaintVideo(QPainter& painter)
{
    m_impl->repaint.Acknowledge();
    PaintPanes(painter, nullptr);
}

void CMPEG4MultiDecoder::PaintVideo(QPainter& painter, const QRegion& region)
{
    m_impl->repaint.Acknowledge();
    PaintPanes(painter, &region);
}

void CMPEG4MultiDecoder::SetPaintObserver(PaintObserver* observer)
{
    m_impl->paintObserver = observer;
}

void CMPEG4MultiDecoder::PaintPanes(QPainter& painter, const QRegion* region)
{
    std::array<int64_t, kChannels> drawnPts;
    std::uint32_t drawn = 0;
    MP4MUL_RenderCallback callback;
    void* context;
    {
        std::lock_guard guard(m_impl->callbackLock);
        callback = m_impl->callback;
        context = m_impl->callbackContext;
    }
    for (int channel = 0; channel < kChannels; ++channel) {
        ChannelState& state = m_impl->channels[channel];
        const VideoRect pane = state.CurrentGeometry().pane;
        if (IsHiddenPane(pane))
            continue;
        const QRect target(pane.left, pane.top, pane.Width(), pane.Height());
        // A pane outside the region keeps its picture fresh for a later paint.
        if (region && !region->intersects(target))
            continue;
        const auto picture = state.PictureForPaint();
        if (picture) {
            DrawPicture(painter, target, picture->image);
            drawnPts[channel] = picture->pts;
            drawn |= std::uint32_t{1} << channel;
        } else
            painter.fillRect(target, Qt::black);
        if (callback) {
            painter.save();
            painter.setClipRect(target);
            painter.translate(target.topLeft());
            callback(channel, &painter, nullptr, nullptr, context);
            painter.restore();
        }
    }
    if (!m_impl->paintObserver)
        return;
    for (int channel = 0; channel < kChannels; ++channel) {
        if ((drawn >> channel) & 1u)
            m_impl->paintObserver->Painted(channel, drawnPts[channel]);
    }
}

CMPEG4MultiDecoder::Stats CMPEG4MultiDecoder::GetStats(int channel) const
{
    if (!ValidChannel(channel))
        return Stats{0, 0, 0, 0};
    ChannelState& state = m_impl->channels[channel];
    return Stats{state.decoded.load(), state.Slot().Presented(), state.skipped.load(), state.Slot().Dropped()};
}
