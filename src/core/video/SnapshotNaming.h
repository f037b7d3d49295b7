#pragma once

#include <ctime>
#include <string>

// Where a snapshot's picture came from, written into the picture so a saved
// file still tells its source.
struct SnapshotSource {
    std::string recorderName;
    std::string recorderAddress;
    int cameraNumber = 0;  // counted from 1; 0 when the pane shows no known camera
    std::string cameraName;
};

// "Live_<channel + 1>CH_YYYY_MMDD_hhmmss.jpg" for the local time of the capture.
std::string CaptureFileName(int channel, const std::tm& local);

// One line naming the recorder, the camera and the capture time.
std::string SnapshotComment(const SnapshotSource& source, const std::tm& local);
