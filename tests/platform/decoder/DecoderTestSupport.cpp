#include "DecoderTestSupport.h"

#include "core/media/PesPacketizer.h"
#include "platform/decoder/MPEG4MultiDecoder.h"

#include <QPainter>

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace dectest {

namespace {

// Tests that are not about sound use SDL's dummy device, so a machine without
// a sound card gives no driver complaints; audio tests pick their own driver.
const bool kQuietAudio = setenv("SDL_AUDIODRIVER", "dummy", 0) == 0;

} // namespace

std::string MakeTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ombrel-decoder-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

bool RunFfmpeg(const std::string& arguments)
{
    const std::string command = "ffmpeg -hide_banner -loglevel error -nostdin -y " + arguments;
    return std::system(command.c_str()) == 0;
}

std::string RunCapture(const std::string& command)
{
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), n);
    pclose(pipe);
    return output;
}

std::vector<AccessUnit> ReadAccessUnits(const std::string& path)
{
    std::vector<AccessUnit> units;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return units;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        units.push_back({std::vector<uint8_t>(packet->data, packet->data + packet->size),
                         (packet->flags & AV_PKT_FLAG_KEY) != 0});
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    return units;
}

namespace {

Media MakeMedia()
{
    Media m;
    m.dir = MakeTempDir();
    const std::string x264 = " -c:v libx264 -pix_fmt yuv420p -bf 0 -g 10 -preset veryfast ";
    m.h264Cif = m.dir + "/cif.h264";
    RunFfmpeg("-f lavfi -i testsrc=size=352x288:rate=25 -frames:v 25" + x264 + "-f h264 " + m.h264Cif);
    m.h264Qcif = m.dir + "/qcif.h264";
    RunFfmpeg("-f lavfi -i testsrc=size=176x144:rate=25 -frames:v 10" + x264 + "-f h264 " + m.h264Qcif);
    m.mpeg4Qvga = m.dir + "/qvga.m4v";
    RunFfmpeg("-f lavfi -i testsrc=size=320x240:rate=25 -frames:v 25 -c:v mpeg4 -bf 0 -g 10 -q:v 3 -f m4v " +
              m.mpeg4Qvga);
    m.halves = m.dir + "/halves.h264";
    RunFfmpeg("-f lavfi -i color=white:size=352x288:rate=25 -vf drawbox=x=176:y=0:w=176:h=288:color=black:t=fill "
              "-frames:v 5" + x264 + "-f h264 " + m.halves);
    m.interlaced = m.dir + "/interlaced.h264";
    RunFfmpeg("-f lavfi -i color=black:size=320x240:rate=25 -vf \"geq=lum='if(mod(Y+N,2),235,16)':cb=128:cr=128,"
              "setfield=tff\" -frames:v 6 -c:v libx264 -pix_fmt yuv420p -bf 0 -g 10 -crf 5 -flags +ildct+ilme "
              "-x264-params tff=1 -f h264 " + m.interlaced);
    m.vobH264 = m.dir + "/h264.vob";
    RunFfmpeg("-f lavfi -i testsrc=size=352x288:rate=25 -t 1" + x264 + "-f vob " + m.vobH264);
    m.vobMpeg4 = m.dir + "/mpeg4.vob";
    RunFfmpeg("-f lavfi -i testsrc=size=320x240:rate=25 -t 1 -c:v mpeg4 -bf 0 -g 10 -f vob " + m.vobMpeg4);
    return m;
}

} // namespace

const Media& GetMedia()
{
    static const Media media = MakeMedia();
    return media;
}

std::vector<std::vector<uint8_t>> Packetize(uint8_t streamId, uint64_t pts, const std::vector<uint8_t>& data)
{
    return media::PacketizeAccessUnit(streamId, pts, data.data(), data.size());
}

std::vector<uint8_t> PackHeader()
{
    std::vector<uint8_t> header(16);
    MP4MUL_make_pack_header(header.data());
    return header;
}

std::vector<uint8_t> ClientMap(uint8_t videoType)
{
    std::array<unsigned char, 32> types{}, ids{};
    std::array<int, 32> widths{}, heights{};
    for (int i = 0; i < 32; ++i) {
        types[i] = i < 16 ? videoType : 0x91;
        ids[i] = uint8_t(i < 16 ? 0xE0 + i : 0xC0 + (i - 16));
        widths[i] = 720;
        heights[i] = 576;
    }
    std::vector<uint8_t> map(276);
    MP4MUL_make_program_stream_map(map.data(), types.data(), widths.data(), heights.data(), ids.data());
    return map;
}

void DemuxUnits(CMPEG4MultiDecoder& decoder, const std::vector<std::vector<uint8_t>>& units)
{
    for (const auto& unit : units)
        decoder.Demux(unit.data(), unit.data() + unit.size(), 0);
}

void FeedAccessUnits(CMPEG4MultiDecoder& decoder, uint8_t streamId, const std::vector<AccessUnit>& units,
                     size_t first, size_t last)
{
    const int channel = streamId & 0x0F;
    auto handled = [&] {
        const auto stats = decoder.GetStats(channel);
        return stats.decoded + stats.skipped;
    };
    const uint64_t before = handled();
    last = std::min(last, units.size());
    for (size_t i = first; i < last; ++i) {
        DemuxUnits(decoder, Packetize(streamId, 3600 * i, units[i].data));
        // Paced like a camera whose decoder keeps up (the newest picture waits
        // in the parser for the next one), so the overload policy stays out of
        // the way however busy the machine is.
        const uint64_t fed = i - first + 1;
        WaitFor([&] { return handled() - before + 1 >= fed; }, std::chrono::seconds(2));
    }
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

CountingWindow::CountingWindow() : m_handle(RegisterMessageReceiver(this))
{
}

CountingWindow::~CountingWindow()
{
    UnregisterMessageReceiver(m_handle);
}

void CountingWindow::OnPostedMessage(unsigned message, WPARAM, LPARAM)
{
    if (message == kMsgVideoFramesReady)
        ++m_framesReady;
    else
        ++m_other;
}

int CountingWindow::Count(unsigned message) const
{
    return message == kMsgVideoFramesReady ? m_framesReady.load() : m_other.load();
}

QImage Paint(CMPEG4MultiDecoder& decoder, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    decoder.PaintVideo(painter);
    painter.end();
    return image;
}

double MeanGrey(const QImage& image, int left, int top, int right, int bottom)
{
    double sum = 0;
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            sum += qGray(image.pixel(x, y));
            ++count;
        }
    }
    return count ? sum / count : 0;
}

} // namespace dectest
