#pragma once

#include "core/msg/WindowMessage.h"

#include <QImage>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CMPEG4MultiDecoder;

namespace dectest {

// A fresh folder under the system's temporary folder.
std::string MakeTempDir();

// Runs the ffmpeg program with the arguments; true when it succeeded.
bool RunFfmpeg(const std::string& arguments);
// Runs a command and returns what it wrote on stdout.
std::string RunCapture(const std::string& command);

// The access units of a raw elementary stream file (.h264 or .m4v) and
// whether each is a keyframe, read with libavformat.
struct AccessUnit {
    std::vector<uint8_t> data;
    bool keyframe = false;
};
std::vector<AccessUnit> ReadAccessUnits(const std::string& path);

// Elementary streams made once per test run with the ffmpeg program.
struct Media {
    std::string dir;
    std::string h264Cif;      // 352x288, 25 pictures, keyframe every 10, no B pictures
    std::string h264Qcif;     // 176x144, 10 pictures
    std::string mpeg4Qvga;    // 320x240 MPEG-4 Part 2, 25 pictures, keyframe every 10
    std::string halves;       // 352x288 H.264: left half white, right half black
    std::string interlaced;   // 320x240 H.264 coded interlaced, fields of opposite shade that swap every picture
    std::string vobH264;      // program streams made by ffmpeg's VOB muxer
    std::string vobMpeg4;
};
const Media& GetMedia();

// PES packets of one access unit: the first with the PTS, the rest without.
std::vector<std::vector<uint8_t>> Packetize(uint8_t streamId, uint64_t pts, const std::vector<uint8_t>& data);

// The pack header and the client's 276-byte map: video 0xE0+i of videoType,
// audio 0xC0+i mu-law.
std::vector<uint8_t> PackHeader();
std::vector<uint8_t> ClientMap(uint8_t videoType);

// Passes each unit to Demux, as the live media path does.
void DemuxUnits(CMPEG4MultiDecoder& decoder, const std::vector<std::vector<uint8_t>>& units);
// Packetizes access units [first, last) for a stream and demuxes them.
void FeedAccessUnits(CMPEG4MultiDecoder& decoder, uint8_t streamId, const std::vector<AccessUnit>& units,
                     size_t first = 0, size_t last = SIZE_MAX);

// Polls until the condition holds, at most timeout; returns the condition.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A registered window handle that counts the messages it receives.
class CountingWindow : public CMessageReceiver {
public:
    CountingWindow();
    ~CountingWindow() override;
    void OnPostedMessage(unsigned message, WPARAM, LPARAM) override;
    HWND Handle() const { return m_handle; }
    int Count(unsigned message) const;

private:
    HWND m_handle;
    std::atomic<int> m_framesReady{0};
    std::atomic<int> m_other{0};
};

// Paints the decoder into a black image of the window's size.
QImage Paint(CMPEG4MultiDecoder& decoder, int width = 800, int height = 600);

// Mean of the grey levels in a rectangle of the image.
double MeanGrey(const QImage& image, int left, int top, int right, int bottom);

} // namespace dectest
