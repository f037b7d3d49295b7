#pragma once

#include <cstdint>
#include <string>

#include "PtzView.h"
#include "YuvCanvas.h"

namespace emulator::media {

// One synthetic camera drawn into a region of a picture: a street of
// buildings in the camera's own colours seen through its pan/tilt/zoom view,
// a bouncing ball and a passing car that move with the loop's time, and the
// camera's number, name, view and the loop clock burned in. The clock shows
// the time within the loop ("LOOP 0:02.36"), not the time of day: pictures
// are encoded once and replayed, and a wall clock would mean encoding live.
class SyntheticScene {
public:
    SyntheticScene(int camera, std::string name, PtzView view, ClipRect region, uint32_t loopMs);

    // The scenery, the same in every frame of the loop.
    void DrawBackground(YuvCanvas& canvas) const;
    // What changes with time, over a copy of the background.
    void DrawMoving(YuvCanvas& canvas, uint32_t timeMs) const;

private:
    struct Point {
        int x;
        int y;
    };
    Point ToPicture(double sceneX, double sceneY) const;
    int ToPictureLength(double sceneLength) const;
    void DrawSceneRect(YuvCanvas& canvas, double x, double y, double w, double h, YuvColor color) const;
    void DrawLabel(YuvCanvas& canvas, int x, int y, int scale, const std::string& text) const;

    int camera_;
    std::string name_;
    PtzView view_;
    ClipRect region_;
    uint32_t loopMs_;
    int hue_;
};

}  // namespace emulator::media
