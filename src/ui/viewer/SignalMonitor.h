#pragma once

#include "core/video/LostSignalWatch.h"

#include <QObject>
#include <QTimer>

struct ViewerVideo;

// Samples each live pane's picture count four times a second and marks the
// panes that have lost their signal in the overlay, with the time of their
// last picture; the video window repaints a pane when its mark changes.
class SignalMonitor : public QObject {
    Q_OBJECT
public:
    static constexpr int kSampleMs = 250;

    SignalMonitor(ViewerVideo& video, QObject* parent);

    // Panes marked now.
    std::uint16_t NoSignalPanes() const { return m_shown; }

private:
    void sample();

    ViewerVideo& m_video;
    LostSignalWatch m_watch;
    std::uint16_t m_shown = 0;
    QTimer m_timer;
};
