#pragma once

#include "core/video/SnapshotNaming.h"

#include <QString>

#include <ctime>
#include <functional>

class CLiveDecoder;

// What a capture did: the file written (its local path) and the status line
// that says so, or why nothing was written.
struct CaptureOutcome {
    bool written = false;
    QString path;
    QString status;
};

// Capture (233): the selected channel's decoded picture, at its full size,
// as "Live_<n>CH_<time>.jpg" in the capture folder, with a comment naming
// where it came from.
class LiveCapture {
public:
    using Clock = std::function<std::time_t()>;

    explicit LiveCapture(CLiveDecoder& decoder);

    // The capture time comes from here (the system clock unless set).
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    CaptureOutcome Capture(int channel, const SnapshotSource& source);
    // The last file written; empty before the first capture.
    const QString& LastPath() const { return m_lastPath; }

private:
    QString failureReason(int channel, const QString& folder) const;

    CLiveDecoder& m_decoder;
    Clock m_clock;
    QString m_lastPath;
};
