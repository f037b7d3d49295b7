#include "DecoderTestSupport.h"
#include "support/TempDir.h"

#include "platform/decoder/MPEG4MultiDecoder.h"

#include <QPainter>
#include <QRegion>

#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <filesystem>

namespace {

using namespace dectest;

class DecoderPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        MP4MUL_InitializeDecoder();
        ASSERT_TRUE(decoder.InitializeDecodeSystems(window.Handle(), true, false));
        DemuxUnits(decoder, {PackHeader(), ClientMap(0x84)});
    }

    // Feeds the white-left, black-right picture to a channel and waits for it.
    void FeedHalves(int channel)
    {
        const auto units = ReadAccessUnits(GetMedia().halves);
        FeedAccessUnits(decoder, uint8_t(0xE0 + channel), units);
        // Every picture, so none can still arrive after the test moves on.
        ASSERT_TRUE(WaitFor([&] { return decoder.GetStats(channel).decoded >= units.size(); }));
    }

    CountingWindow window;
    CMPEG4MultiDecoder decoder;
};

struct CallbackLog {
    std::vector<int> channels;
    std::vector<QPoint> origins;
};

void RecordingCallback(int channel, QPainter* dc, void* unused1, void* unused2, void* context)
{
    auto* log = static_cast<CallbackLog*>(context);
    log->channels.push_back(channel);
    log->origins.push_back(dc->transform().map(QPoint(0, 0)));
    EXPECT_EQ(unused1, nullptr);
    EXPECT_EQ(unused2, nullptr);
    dc->fillRect(0, 0, 3, 3, QColor(255, 0, 0));  // marks the pane's top-left corner
}

TEST_F(DecoderPaint, EachVisibleChannelIsDrawnInItsPaneThenItsCallbackRunsThere)
{
    FeedHalves(2);
    decoder.SetVideoPos(2, 400, 300, 800, 600);
    decoder.SetVideoPos(9, 0, 0, 200, 150);  // visible but without pictures
    CallbackLog log;
    decoder.SetRenderCallback(&RecordingCallback, &log);

    const QImage image = Paint(decoder);
    EXPECT_GT(MeanGrey(image, 410, 310, 590, 590), 200);  // white half, scaled to the pane
    EXPECT_LT(MeanGrey(image, 610, 310, 790, 590), 40);   // black half
    EXPECT_LT(MeanGrey(image, 10, 300, 390, 590), 5);     // outside every pane: untouched
    ASSERT_EQ(log.channels, (std::vector<int>{2, 9}));
    EXPECT_EQ(log.origins[0], QPoint(400, 300));
    EXPECT_EQ(log.origins[1], QPoint(0, 0));
    EXPECT_EQ(image.pixel(401, 301), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0));

    decoder.SetRenderCallback(nullptr, nullptr);
    decoder.SetVideoPos(9, 0, 0, 1, 1);  // hidden again
    log.channels.clear();
    Paint(decoder);
    EXPECT_TRUE(log.channels.empty());
}

struct PaintLog : PaintObserver {
    void Painted(int channel, int64_t pts) override { seen.emplace_back(channel, pts); }
    std::vector<std::pair<int, int64_t>> seen;
};

TEST_F(DecoderPaint, ThePaintObserverHearsOfEachPictureDrawnWithItsTimeStamp)
{
    FeedHalves(2);  // five pictures, the last with PTS 4 x 3600
    decoder.SetVideoPos(2, 0, 0, 200, 150);
    decoder.SetVideoPos(9, 200, 0, 400, 150);  // visible but without pictures
    PaintLog log;
    decoder.SetPaintObserver(&log);
    Paint(decoder);
    decoder.SetVideoPos(2, 400, 300, 800, 600);  // scaled again from the kept picture
    Paint(decoder);
    const std::vector<std::pair<int, int64_t>> expected{{2, 14400}, {2, 14400}};
    EXPECT_EQ(log.seen, expected);

    decoder.SetPaintObserver(nullptr);
    Paint(decoder);
    EXPECT_EQ(log.seen, expected);
}

TEST_F(DecoderPaint, ViewportZoomsIntoPartOfThePictureAndResetsToTheWhole)
{
    FeedHalves(0);
    decoder.SetVideoPos(0, 0, 0, 800, 600);
    decoder.SetVideoViewport(0, 176, 0, 352, 288);  // the black half only
    QImage image = Paint(decoder);
    EXPECT_LT(MeanGrey(image, 20, 20, 780, 580), 40);
    decoder.SetVideoViewport(0, 0, 0, 176, 288);  // the white half only
    image = Paint(decoder);
    EXPECT_GT(MeanGrey(image, 20, 20, 780, 580), 200);
    decoder.SetVideoViewport(0, 0, 0, 0, 0);  // nothing known yet: whole picture
    image = Paint(decoder);
    EXPECT_GT(MeanGrey(image, 20, 20, 380, 580), 200);
    EXPECT_LT(MeanGrey(image, 420, 20, 780, 580), 40);
}

TEST_F(DecoderPaint, AStoppedChannelKeepsItsLastPictureAcrossLayoutChangesUntilCleared)
{
    FeedHalves(4);
    decoder.SetVideoPos(4, 0, 0, 200, 150);
    QImage image = Paint(decoder);
    EXPECT_GT(MeanGrey(image, 5, 5, 95, 145), 200);
    // The stream has stopped; the pane moves and grows: the last picture follows it.
    decoder.SetVideoPos(4, 400, 0, 800, 300);
    image = Paint(decoder);
    EXPECT_GT(MeanGrey(image, 405, 5, 595, 295), 200);
    EXPECT_LT(MeanGrey(image, 605, 5, 795, 295), 40);
    EXPECT_LT(MeanGrey(image, 5, 5, 95, 145), 5);

    decoder.ClearChannel(4);
    image = Paint(decoder);
    EXPECT_LT(MeanGrey(image, 405, 5, 595, 295), 5);
    EXPECT_EQ(decoder.GetVideoWidth(4), 352);  // the size stays known
    EXPECT_FALSE(decoder.CaptureJPEG((GetMedia().dir + "/cleared.jpg").c_str(), 4));
}

TEST_F(DecoderPaint, PresentedAndDroppedCountPicturesShownAndReplacedUnseen)
{
    decoder.SetVideoPos(1, 0, 0, 352, 288);
    FeedHalves(1);
    // All but the newest picture were replaced unseen.
    EXPECT_TRUE(WaitFor([&] {
        const auto s = decoder.GetStats(1);
        return s.dropped + 1 == s.decoded;
    }));
    EXPECT_EQ(decoder.GetStats(1).presented, 0u);
    Paint(decoder);
    Paint(decoder);
    EXPECT_EQ(decoder.GetStats(1).presented, 1u);
}

TEST_F(DecoderPaint, RepaintMessagesAreCoalescedUntilTheWindowPaints)
{
    decoder.SetVideoPos(3, 0, 0, 352, 288);
    FeedHalves(3);
    const int afterFeed = window.Count(kMsgVideoFramesReady);
    EXPECT_EQ(afterFeed, 1);  // one pending message for all those pictures
    EXPECT_TRUE(decoder.Redraw());
    EXPECT_EQ(window.Count(kMsgVideoFramesReady), afterFeed);
    Paint(decoder);
    EXPECT_TRUE(decoder.Redraw());
    EXPECT_EQ(window.Count(kMsgVideoFramesReady), afterFeed + 1);
}

TEST_F(DecoderPaint, ChangedChannelsNameThePanesToRepaintAndOthersKeepTheirPictures)
{
    decoder.SetVideoPos(3, 0, 0, 352, 288);
    decoder.SetVideoPos(5, 400, 300, 752, 588);
    FeedHalves(3);
    FeedHalves(5);
    for (int channel : {3, 5}) {
        // Every picture is in the slot (all but the newest replaced unseen).
        ASSERT_TRUE(WaitFor([&] {
            const auto stats = decoder.GetStats(channel);
            return stats.decoded == 5 && stats.dropped == 4;
        }));
    }
    EXPECT_EQ(decoder.TakeChangedChannels(), (1u << 3) | (1u << 5));
    EXPECT_EQ(decoder.TakeChangedChannels(), 0u);

    // Only channel 3's pane is painted: channel 5's picture stays fresh, unseen.
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        decoder.PaintVideo(painter, QRegion(0, 0, 352, 288));
    }
    EXPECT_GT(MeanGrey(image, 5, 5, 170, 280), 200);
    EXPECT_LT(MeanGrey(image, 405, 305, 570, 580), 5);
    EXPECT_EQ(decoder.GetStats(3).presented, 1u);
    EXPECT_EQ(decoder.GetStats(5).presented, 0u);
    {
        QPainter painter(&image);
        decoder.PaintVideo(painter, QRegion(0, 0, 800, 600));
    }
    EXPECT_GT(MeanGrey(image, 405, 305, 570, 580), 200);
    EXPECT_EQ(decoder.GetStats(5).presented, 1u);

    // Taking the channels acknowledges the message: the next change posts again.
    const int before = window.Count(kMsgVideoFramesReady);
    EXPECT_TRUE(decoder.Redraw());
    EXPECT_EQ(window.Count(kMsgVideoFramesReady), before + 1);
    EXPECT_EQ(decoder.TakeChangedChannels(), 0xFFFFu);
    decoder.ClearChannel(5);
    EXPECT_EQ(window.Count(kMsgVideoFramesReady), before + 2);
    EXPECT_EQ(decoder.TakeChangedChannels(), 1u << 5);
}

int JpegWidthHeight(const std::string& path, int* height)
{
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return 0;
    avformat_find_stream_info(format, nullptr);
    const AVCodecParameters* par = format->streams[0]->codecpar;
    const int width = par->codec_id == AV_CODEC_ID_MJPEG ? par->width : 0;
    *height = par->height;
    avformat_close_input(&format);
    return width;
}

TEST_F(DecoderPaint, CaptureWritesTheDecodedSizeNotThePaneSizeAtTheMappedPath)
{
    decoder.SetVideoPos(5, 0, 0, 200, 150);
    decoder.SetVideoViewport(5, 0, 0, 100, 100);
    const std::string path = GetMedia().dir + "/capture5.jpg";
    EXPECT_FALSE(decoder.CaptureJPEG(path.c_str(), 5));  // nothing decoded yet
    EXPECT_FALSE(std::filesystem::exists(path));
    FeedHalves(5);
    ASSERT_TRUE(decoder.CaptureJPEG(path.c_str(), 5));
    int height = 0;
    EXPECT_EQ(JpegWidthHeight(path, &height), 352);
    EXPECT_EQ(height, 288);
    EXPECT_FALSE(decoder.CaptureJPEG((GetMedia().dir + "/no/such/folder/x.jpg").c_str(), 5));
    EXPECT_FALSE(decoder.CaptureJPEG(path.c_str(), 16));
    EXPECT_FALSE(decoder.CaptureJPEG(nullptr, 5));

    // The client's drive C path maps onto its folder.
    const std::string root = GetMedia().dir + "/drive-c";
    std::filesystem::create_directories(root + "/DVR");
    ScopedEnv driveC("DVR_DRIVE_C", root);
    EXPECT_TRUE(decoder.CaptureJPEG("c:\\DVR\\snap.jpg", 5));
    EXPECT_TRUE(std::filesystem::exists(root + "/DVR/snap.jpg"));
}

TEST_F(DecoderPaint, DeinterlacingRemovesTheCombOfInterlacedPictures)
{
    const auto units = ReadAccessUnits(GetMedia().interlaced);
    ASSERT_FALSE(units.empty());
    auto comb = [&](bool deinterlace, int channel) {
        decoder.SetDeinterlace(deinterlace);
        decoder.SetVideoPos(channel, 0, 0, 320, 240);
        FeedAccessUnits(decoder, uint8_t(0xE0 + channel), units);
        EXPECT_TRUE(WaitFor([&] { return decoder.GetStats(channel).decoded >= units.size() - 1; }));
        const QImage image = Paint(decoder, 320, 240);
        decoder.SetVideoPos(channel, 0, 0, 1, 1);
        double difference = 0;
        for (int y = 20; y < 220; ++y)
            difference += std::abs(qGray(image.pixel(160, y)) - qGray(image.pixel(160, y + 1)));
        return difference / 200;
    };
    const double woven = comb(false, 0);
    const double deinterlaced = comb(true, 1);
    EXPECT_GT(woven, 150);
    EXPECT_LT(deinterlaced, 30);
}

} // namespace
