#include "support/QtTestApp.h"
#include "ui/video/TitleImageCache.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

const QColor kPicture(90, 90, 200);
const QColor kShadow(1, 1, 1);

QFont TitleFont()
{
    QFont font;
    font.setPixelSize(16);
    return font;
}

QImage Blank(qreal pixelRatio)
{
    QImage image(QSize(240, 60) * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(kPicture);
    return image;
}

// The title as it looks drawn straight onto the picture, laid out each time.
QImage DrawnDirectly(const std::string& text, const QColor& colour, QPoint at, qreal pixelRatio)
{
    QImage image = Blank(pixelRatio);
    QPainter p(&image);
    p.setFont(TitleFont());
    const QString s = QString::fromStdString(text);
    const int baseline = at.y() + p.fontMetrics().ascent();
    p.setPen(kShadow);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                p.drawText(at.x() + dx, baseline + dy, s);
    p.setPen(colour);
    p.drawText(at.x(), baseline, s);
    return image;
}

QImage DrawnFromCache(TitleImageCache& cache, const std::string& text, const QColor& colour, QPoint at,
                      qreal pixelRatio)
{
    QImage image = Blank(pixelRatio);
    QPainter p(&image);
    cache.Draw(p, at.x(), at.y(), text, colour);
    return image;
}

QRect Touched(const QImage& image)
{
    QRect touched;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != kPicture)
                touched |= QRect(x, y, 1, 1);
    return touched;
}

int LargestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            largest = std::max({largest, std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                                std::abs(p.blue() - q.blue())});
        }
    return largest;
}

class TitleImageCacheTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQApplication(); }
};

// Descenders, tall capitals, wide letters, accents and a long line: none may
// lose an edge or its shadow, at normal and doubled pixel density, and the
// second (cached) draw must look like the first.
TEST_F(TitleImageCacheTest, CachedTitleLooksLikeTheTextDrawnStraightOntoThePicture)
{
    TitleImageCache cache(TitleFont());
    const std::string texts[] = {"Front shop", "12-gjpqy|", "WWW MMM", "Caf\xc3\xa9 \xc3\x85ngstr\xc3\xb6m",
                                 "1234567890123456789012345678901234567890123456789"};
    for (const qreal ratio : {1.0, 2.0}) {
        for (const std::string& text : texts) {
            for (const QColor& colour : {QColor(0, 255, 0), QColor(255, 255, 0)}) {
                const QImage direct = DrawnDirectly(text, colour, QPoint(5, 20), ratio);
                ASSERT_FALSE(Touched(direct).isEmpty());
                for (int pass = 0; pass < 2; ++pass) {
                    const QImage cached = DrawnFromCache(cache, text, colour, QPoint(5, 20), ratio);
                    EXPECT_EQ(Touched(cached), Touched(direct)) << text << " at ratio " << ratio;
                    EXPECT_LE(LargestDifference(cached, direct), 8) << text << " at ratio " << ratio;
                }
            }
        }
    }
    EXPECT_EQ(cache.Size(), 2u * 2u * std::size(texts)) << "one entry per text, colour and pixel ratio";
}

TEST_F(TitleImageCacheTest, StaysWithinItsCapacityAndRedrawsEvictedTitlesCorrectly)
{
    TitleImageCache cache(TitleFont(), 3);
    const QColor green(0, 255, 0);
    for (int i = 0; i < 10; ++i) {
        const std::string text = std::to_string(i) + "-Camera";
        DrawnFromCache(cache, text, green, QPoint(5, 5), 1.0);
        EXPECT_LE(cache.Size(), 3u);
    }
    // The first titles were pushed out long ago; drawing them again gives the picture a fresh cache gives.
    TitleImageCache fresh(TitleFont());
    EXPECT_EQ(DrawnFromCache(cache, "0-Camera", green, QPoint(5, 5), 1.0),
              DrawnFromCache(fresh, "0-Camera", green, QPoint(5, 5), 1.0));
    EXPECT_NE(DrawnFromCache(cache, "1-Camera", green, QPoint(5, 5), 1.0),
              DrawnFromCache(fresh, "0-Camera", green, QPoint(5, 5), 1.0));
}

} // namespace
