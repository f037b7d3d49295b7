#pragma once

#include <QWidget>

#include "core/video/LayoutGeometry.h"

class CRenderWnd;
class QPushButton;
struct VideoWindowState;
class VideoWindowListener;

// The screen-layout panel: one, four, nine, eight and sixteen panes, and
// full screen on and off. Layouts start at the selected channel.
class CChannelPosDlg : public QWidget {
    Q_OBJECT
public:
    CChannelPosDlg(CRenderWnd* video, VideoWindowState* state, QWidget* parent = nullptr);

    void SetListener(VideoWindowListener* listener) { m_listener = listener; }
    QPushButton* Button(int id) const;

    LayoutMode Mode() const { return m_mode; }
    bool Applied() const { return m_applied; }
    // A user view took the window: no fixed layout is applied now.
    void MarkNotApplied() { m_applied = false; }

    // Live start: a paired recorder gets its own layout and only full screen
    // stays enabled; any other gets the sixteen-pane layout.
    void ApplyLiveStartLayout();
    // The paired layout for the selected channel (windowed or full screen).
    void ApplyPairedLayout();
    // Full screen on or off (button 4006); only while connected.
    void SetFullScreen(bool on);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onLayoutButton(int id);
    void onFullScreenButton();
    void applyMode(LayoutMode mode);
    void checkOnly(int id);

    CRenderWnd* m_video;
    VideoWindowState* m_state;
    VideoWindowListener* m_listener = nullptr;
    LayoutMode m_mode = LayoutMode::None;
    bool m_applied = false;
};
