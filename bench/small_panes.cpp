// Small panes without the deblocking filter: what skipping libavcodec's
// in-loop filter (skip_loop_filter) saves and costs when the picture is shown
// in a pane much smaller than itself. On the sixteen camera loops dvr-emulator
// sends (MODEL_C, 704 x 576, 25 pictures a second, a keyframe a second; 4 s,
// so four keyframe periods), at each bit rate asked:
//
// - quality: every camera's whole loop decoded twice side by side, fully
//   filtered and with the filter skipped at a level, each picture scaled to
//   each pane size by the viewer's own PictureScaler; the PSNR of the pane
//   shown against the fully filtered one, worst picture and mean (the PSNR of
//   the mean squared error), and the same for the decoded picture's luma at
//   full size (what a capture writes). Without the filter the reference
//   pictures differ, so the difference grows from a keyframe to the next:
//   the worst picture says where it stood.
// - CPU: thread CPU time per picture decoded and scaled to the pane, one
//   picture of each camera in turn, for each level in rotating order a round,
//   and its ratio to the fully filtered decode of the same round.
//
//   bench_small_panes [--content plain|hard] [--rounds R] [--bitrate BITS]...
//
// Default: hard content at 1.5M and 4M, 3 rounds.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
}

#include "bench/support/BitRateText.h"
#include "bench/support/CameraLoops.h"
#include "bench/support/EmulatorLoops.h"
#include "bench/support/ProcessMeter.h"
#include "platform/decoder/PictureScaler.h"

namespace {

using namespace benchsupport;

constexpr int kFps = 25;

struct PaneSize {
    int width;
    int height;
    const char* what;
};

// The 800 x 600 video window's panes with 4, 9 and 16 of them, the largest
// pane of at most half the picture, and a quarter of it.
constexpr PaneSize kPanes[] = {
    {400, 300, "4 panes"},      {352, 288, "half"},    {266, 200, "9 panes"},
    {200, 150, "16 panes"},     {176, 144, "quarter"},
};
constexpr int kPaneCount = static_cast<int>(std::size(kPanes));
// CPU is measured on the sixteen-pane layout's pane and on a quarter picture.
constexpr int kCpuPanes[] = {3, 4};

struct Level {
    AVDiscard discard;
    const char* name;
};

constexpr Level kFull{AVDISCARD_DEFAULT, "full filter"};
constexpr Level kSkips[] = {
    {AVDISCARD_NONREF, "skip on non-reference pictures"},
    {AVDISCARD_NONKEY, "skip but on keyframes"},
    {AVDISCARD_ALL, "skip on all pictures"},
};

struct Options {
    int rounds = 3;
    std::vector<long> bitRates;
    emulator::media::CameraContent content = emulator::media::CameraContent::Hard;
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    bool good = true;
    for (int i = 1; i < argc && good; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--rounds") == 0 && hasValue)
            options.rounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--bitrate") == 0 && hasValue) {
            options.bitRates.push_back(ParseBitRate(argv[++i]));
            good = options.bitRates.back() > 0;
        } else if (std::strcmp(argv[i], "--content") == 0 && hasValue) {
            const auto content = emulator::media::ParseCameraContent(argv[++i]);
            good = content.has_value();
            options.content = content.value_or(options.content);
        } else
            good = false;
    }
    if (!good || options.rounds < 1 || options.rounds > 20) {
        std::fprintf(stderr, "usage: %s [--content plain|hard] [--rounds R] [--bitrate BITS[k|M]]...\n", argv[0]);
        std::exit(2);
    }
    if (options.bitRates.empty())
        options.bitRates = {1500000, 4000000};
    return options;
}

// One camera's single-threaded decoder with the loop filter skipped at a level.
class LevelDecoder {
public:
    explicit LevelDecoder(AVDiscard skip) : m_packet(av_packet_alloc()), m_frame(av_frame_alloc())
    {
        m_context = avcodec_alloc_context3(avcodec_find_decoder(AV_CODEC_ID_H264));
        m_context->thread_count = 1;
        m_context->skip_loop_filter = skip;
        avcodec_open2(m_context, m_context->codec, nullptr);
    }
    ~LevelDecoder()
    {
        av_frame_free(&m_frame);
        av_packet_free(&m_packet);
        avcodec_free_context(&m_context);
    }
    LevelDecoder(const LevelDecoder&) = delete;
    LevelDecoder& operator=(const LevelDecoder&) = delete;

    // The picture of one access unit, or null; valid until the next call.
    const AVFrame* Decode(const AccessUnit& au)
    {
        av_frame_unref(m_frame);
        if (av_new_packet(m_packet, static_cast<int>(au.size())) < 0)
            return nullptr;
        std::copy(au.begin(), au.end(), m_packet->data);
        avcodec_send_packet(m_context, m_packet);
        av_packet_unref(m_packet);
        return avcodec_receive_frame(m_context, m_frame) == 0 ? m_frame : nullptr;
    }

private:
    AVCodecContext* m_context = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
};

// Squared error sums of one kind of comparison over many pictures.
class ErrorTally {
public:
    void Add(double squaredError, double samples, int pictureInPeriod)
    {
        const double mse = squaredError / samples;
        m_sum += mse;
        ++m_pictures;
        if (mse > m_worst) {
            m_worst = mse;
            m_worstPicture = pictureInPeriod;
        }
    }
    static double Psnr(double mse) { return mse > 0 ? 10.0 * std::log10(255.0 * 255.0 / mse) : INFINITY; }
    double WorstPsnr() const { return Psnr(m_worst); }
    double MeanPsnr() const { return Psnr(m_pictures ? m_sum / m_pictures : 0.0); }
    int WorstPicture() const { return m_worstPicture; }

private:
    double m_sum = 0;
    double m_worst = 0;
    int m_worstPicture = -1;
    long m_pictures = 0;
};

double SquaredError(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = b.constScanLine(y);
        for (int x = 0; x < a.width() * 4; ++x) {
            if (x % 4 == 3)
                continue;  // the unused alpha byte
            const double d = double(p[x]) - double(q[x]);
            sum += d * d;
        }
    }
    return sum;
}

double LumaSquaredError(const AVFrame* a, const AVFrame* b)
{
    double sum = 0;
    for (int y = 0; y < a->height; ++y) {
        const uint8_t* p = a->data[0] + y * a->linesize[0];
        const uint8_t* q = b->data[0] + y * b->linesize[0];
        for (int x = 0; x < a->width; ++x) {
            const double d = double(p[x]) - double(q[x]);
            sum += d * d;
        }
    }
    return sum;
}

struct Quality {
    ErrorTally panes[kPaneCount];
    ErrorTally luma;
};

// Every loop decoded fully filtered and at the level side by side.
Quality MeasureQuality(const std::vector<std::vector<AccessUnit>>& loops, const Level& level)
{
    Quality quality;
    PictureScaler fullScaler;
    PictureScaler skipScaler;
    for (const auto& loop : loops) {
        LevelDecoder full(kFull.discard);
        LevelDecoder skip(level.discard);
        int sinceKey = 0;
        for (const AccessUnit& au : loop) {
            const AVFrame* a = full.Decode(au);
            const AVFrame* b = skip.Decode(au);
            if (!a || !b)
                continue;
            sinceKey = a->key_frame ? 0 : sinceKey + 1;
            quality.luma.Add(LumaSquaredError(a, b), double(a->width) * a->height, sinceKey);
            for (int p = 0; p < kPaneCount; ++p) {
                const auto shownFull = fullScaler.Scale(a, VideoRect{}, kPanes[p].width, kPanes[p].height, 0);
                const auto shownSkip = skipScaler.Scale(b, VideoRect{}, kPanes[p].width, kPanes[p].height, 0);
                if (!shownFull || !shownSkip)
                    continue;
                quality.panes[p].Add(SquaredError(shownFull->image, shownSkip->image),
                                     3.0 * kPanes[p].width * kPanes[p].height, sinceKey);
            }
        }
    }
    return quality;
}

// Thread CPU ms per picture decoded and scaled, one picture of each camera in turn.
double MeasureCpu(const std::vector<std::vector<AccessUnit>>& loops, AVDiscard skip, const PaneSize& pane)
{
    std::vector<std::unique_ptr<LevelDecoder>> decoders;
    std::vector<PictureScaler> scalers(loops.size());
    for (std::size_t camera = 0; camera < loops.size(); ++camera)
        decoders.push_back(std::make_unique<LevelDecoder>(skip));
    std::size_t length = 0;
    for (const auto& loop : loops)
        length = std::max(length, loop.size());
    long pictures = 0;
    const double start = ThreadCpuSeconds();
    for (std::size_t picture = 0; picture < length; ++picture) {
        for (std::size_t camera = 0; camera < loops.size(); ++camera) {
            if (picture >= loops[camera].size())
                continue;
            const AVFrame* frame = decoders[camera]->Decode(loops[camera][picture]);
            if (frame && scalers[camera].Scale(frame, VideoRect{}, pane.width, pane.height, 0))
                ++pictures;
        }
    }
    const double seconds = ThreadCpuSeconds() - start;
    return pictures ? seconds * 1000.0 / double(pictures) : 0.0;
}

void PrintQuality(const char* levelName, const Quality& quality)
{
    std::printf("  %s: PSNR worst / mean (dB), worst at picture N after a keyframe\n", levelName);
    for (int p = 0; p < kPaneCount; ++p)
        std::printf("    %3d x %3d (%-8s) %6.2f / %6.2f  at %2d\n", kPanes[p].width, kPanes[p].height, kPanes[p].what,
                    quality.panes[p].WorstPsnr(), quality.panes[p].MeanPsnr(), quality.panes[p].WorstPicture());
    std::printf("    704 x 576 luma (capture)  %6.2f / %6.2f  at %2d\n", quality.luma.WorstPsnr(),
                quality.luma.MeanPsnr(), quality.luma.WorstPicture());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void MeasureCpuRounds(const std::vector<std::vector<AccessUnit>>& loops, const PaneSize& pane, int rounds)
{
    constexpr int kLevels = 1 + static_cast<int>(std::size(kSkips));
    const Level levels[kLevels] = {kFull, kSkips[0], kSkips[1], kSkips[2]};
    std::vector<double> ratios[kLevels];
    std::vector<double> ms[kLevels];
    for (int round = 0; round < rounds; ++round) {
        double roundMs[kLevels];
        // A different level goes first each round, so a change of load does not favour one.
        for (int i = 0; i < kLevels; ++i) {
            const int l = (i + round) % kLevels;
            roundMs[l] = MeasureCpu(loops, levels[l].discard, pane);
        }
        std::printf("  round %d, load average %.2f, ms per picture:", round + 1, LoadAverage());
        for (int l = 0; l < kLevels; ++l) {
            std::printf(" %.3f", roundMs[l]);
            ms[l].push_back(roundMs[l]);
            ratios[l].push_back(roundMs[l] / roundMs[0]);
        }
        std::printf("\n");
    }
    for (int l = 0; l < kLevels; ++l)
        std::printf("  %-32s median %.3f ms per picture, ratio to full filter %.3f\n", levels[l].name, Median(ms[l]),
                    Median(ratios[l]));
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    // Each figure as soon as it is known: a run takes minutes.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    av_log_set_level(AV_LOG_ERROR);
    for (const long bitRate : options.bitRates) {
        std::string error;
        const auto loops = MakeEmulatorLoops(options.content, bitRate, &error);
        if (loops.empty()) {
            std::fprintf(stderr, "the camera loops: %s\n", error.c_str());
            return 1;
        }
        double rate = 0;
        for (const auto& loop : loops)
            rate += LoopBitRate(loop, kFps);
        std::printf("\n%zu cameras, content %s, asked %.2f Mb/s, reached %.2f Mb/s on average, %zu pictures a loop\n",
                    loops.size(), emulator::media::CameraContentName(options.content), bitRate / 1e6,
                    rate / double(loops.size()) / 1e6, loops.front().size());
        std::printf("quality against the fully filtered decode, load average %.2f\n", LoadAverage());
        for (const Level& level : kSkips)
            PrintQuality(level.name, MeasureQuality(loops, level));
        for (const int p : kCpuPanes) {
            std::printf("CPU, decode and scale to %d x %d, %d rounds\n", kPanes[p].width, kPanes[p].height,
                        options.rounds);
            MeasureCpuRounds(loops, kPanes[p], options.rounds);
        }
    }
    return 0;
}
