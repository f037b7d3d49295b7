#include "SyntheticScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace emulator::media {
namespace {

constexpr double kHorizon = 40;          // scene y of the street's far edge
constexpr double kPanUnit = 150;         // scene units a pan step moves
constexpr double kTiltUnit = 90;         // scene units a tilt step moves
constexpr double kStreetHalfWidth = 1500;
constexpr double kCarRange = 800;           // the car drives from -range to +range once a loop

YuvColor Hsv(int hue, int saturation, int value)
{
    const double h = ((hue % 360 + 360) % 360) / 60.0;
    const double s = saturation / 255.0;
    const double v = value;
    const double c = v * s;
    const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
    case 0: r = c; g = x; break;
    case 1: r = x; g = c; break;
    case 2: g = c; b = x; break;
    case 3: g = x; b = c; break;
    case 4: r = x; b = c; break;
    default: r = c; b = x; break;
    }
    const double m = v - c;
    return FromRgb(static_cast<int>(r + m), static_cast<int>(g + m), static_cast<int>(b + m));
}

// Small deterministic generator so a camera's street is the same on every run.
class SceneRandom {
public:
    explicit SceneRandom(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    int Between(int low, int high)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return low + static_cast<int>((state_ >> 8) % static_cast<uint32_t>(high - low + 1));
    }

private:
    uint32_t state_;
};

const YuvColor kBlack = FromRgb(0, 0, 0);
const YuvColor kWhite = FromRgb(255, 255, 255);
const YuvColor kWindow = FromRgb(250, 230, 120);

}  // namespace

SyntheticScene::SyntheticScene(int camera, std::string name, PtzView view, ClipRect region, uint32_t loopMs)
    : camera_(camera), name_(std::move(name)), view_(view), region_(region), loopMs_(loopMs),
      hue_((camera * 360 / 16 + 200) % 360)
{
}

SyntheticScene::Point SyntheticScene::ToPicture(double sceneX, double sceneY) const
{
    const double centreX = view_.pan * kPanUnit;
    const double centreY = -view_.tilt * kTiltUnit;
    const double scale = view_.Scale();
    return Point{static_cast<int>(std::lround((region_.left + region_.right) / 2.0 + (sceneX - centreX) * scale)),
                 static_cast<int>(std::lround((region_.top + region_.bottom) / 2.0 + (sceneY - centreY) * scale))};
}

int SyntheticScene::ToPictureLength(double sceneLength) const
{
    return static_cast<int>(std::lround(sceneLength * view_.Scale()));
}

void SyntheticScene::DrawSceneRect(YuvCanvas& canvas, double x, double y, double w, double h, YuvColor color) const
{
    const Point topLeft = ToPicture(x, y);
    const Point bottomRight = ToPicture(x + w, y + h);
    canvas.FillRect(topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y, color);
}

void SyntheticScene::DrawLabel(YuvCanvas& canvas, int x, int y, int scale, const std::string& text) const
{
    const int pad = scale * 2;
    canvas.FillRect(x - pad, y - pad, YuvCanvas::TextWidth(scale, text) + 2 * pad, 16 * scale + 2 * pad, kBlack);
    canvas.DrawText(x, y, scale, text, kWhite);
}

void SyntheticScene::DrawBackground(YuvCanvas& canvas) const
{
    canvas.SetClip(region_);
    // Sky in bands so tilting shows, ground below the horizon.
    for (int band = 0; band < 12; ++band)
        DrawSceneRect(canvas, -4000, kHorizon - 600 + band * 50.0, 8000, 50, Hsv(hue_, 60 + band * 8, 140 + band * 8));
    DrawSceneRect(canvas, -4000, kHorizon, 8000, 1000, Hsv(hue_ + 180, 70, 70));
    DrawSceneRect(canvas, -4000, kHorizon + 90, 8000, 30, Hsv(hue_ + 180, 30, 110));

    SceneRandom random(static_cast<uint32_t>(camera_ + 1));
    for (double x = -kStreetHalfWidth; x < kStreetHalfWidth;) {
        const int width = random.Between(60, 110);
        const int height = random.Between(70, 260);
        const YuvColor wall = Hsv(hue_ + random.Between(-30, 30), random.Between(80, 200), random.Between(90, 200));
        DrawSceneRect(canvas, x, kHorizon - height, width, height, wall);
        for (int wy = 14; wy + 14 < height; wy += 28)
            for (int wx = 10; wx + 14 < width; wx += 24)
                DrawSceneRect(canvas, x + wx, kHorizon - height + wy, 12, 14, kWindow);
        x += width + random.Between(8, 40);
    }
    // Distance posts along the kerb, labelled, so every pan step is easy to read.
    const int labelScale = std::max(1, ToPictureLength(1.2));
    for (int post = -1400; post <= 1400; post += 200) {
        DrawSceneRect(canvas, post - 3, kHorizon + 20, 6, 70, kWhite);
        const Point at = ToPicture(post + 8, kHorizon + 30);
        canvas.DrawText(at.x, at.y, labelScale, std::to_string(post), kWhite);
    }
    canvas.SetClip(ClipRect{0, 0, canvas.Width(), canvas.Height()});
}

void SyntheticScene::DrawMoving(YuvCanvas& canvas, uint32_t timeMs) const
{
    canvas.SetClip(region_);
    const double t = timeMs / 1000.0;
    const double loopSeconds = loopMs_ / 1000.0;
    const double pi = std::numbers::pi;

    // Whole cycles per loop, so the last frame runs smoothly into the first.
    const double carX = -kCarRange + 2 * kCarRange * std::fmod(t / loopSeconds, 1.0);
    DrawSceneRect(canvas, carX, kHorizon + 55, 120, 35, Hsv(hue_ + 120, 220, 230));
    DrawSceneRect(canvas, carX + 25, kHorizon + 35, 60, 22, Hsv(hue_ + 120, 160, 200));
    const Point wheel1 = ToPicture(carX + 25, kHorizon + 92);
    const Point wheel2 = ToPicture(carX + 95, kHorizon + 92);
    canvas.FillDisc(wheel1.x, wheel1.y, ToPictureLength(12), kBlack);
    canvas.FillDisc(wheel2.x, wheel2.y, ToPictureLength(12), kBlack);

    const double ballX = 220 * std::sin(2 * pi * t / loopSeconds);
    const double ballY = kHorizon + 40 - 30 - 150 * std::fabs(std::sin(pi * t));
    const Point ball = ToPicture(ballX, ballY);
    canvas.FillDisc(ball.x, ball.y, ToPictureLength(30), Hsv(hue_ + 60, 255, 255));

    char text[64];
    const int left = region_.left + 16;
    // Number and name sit at the bottom left: viewers write their own pane
    // titles over the top left.
    std::snprintf(text, sizeof text, "CH%02d", camera_ + 1);
    DrawLabel(canvas, left, region_.bottom - 178, 4, text);
    DrawLabel(canvas, left, region_.bottom - 100, 2, name_);
    if (!view_.IsHome()) {
        const std::string view = view_.Text();
        DrawLabel(canvas, region_.right - 16 - YuvCanvas::TextWidth(2, view), region_.top + 16, 2, view);
    }
    const unsigned centis = timeMs / 10;
    std::snprintf(text, sizeof text, "LOOP %u:%02u.%02u", centis / 6000, centis / 100 % 60, centis % 100);
    DrawLabel(canvas, left, region_.bottom - 56, 2, text);
    // A bar filling once a second shows the picture is alive whatever the view.
    const int barWidth = static_cast<int>((region_.right - region_.left - 32) * std::fmod(t, 1.0));
    canvas.FillRect(left, region_.bottom - 14, barWidth, 6, kWhite);
    canvas.SetClip(ClipRect{0, 0, canvas.Width(), canvas.Height()});
}

}  // namespace emulator::media
