#pragma once

#include "ui/viewer/SessionRecord.h"

#include <QObject>

class ChannelButtonBar;
class CLiveDecoder;
class QWidget;
struct AudioChange;
struct ViewerSessions;

// The channel buttons, audio buttons, mute box and volume slider below the
// video pane, for the current session: they show its panel, and a press
// changes its channel choice or what is heard and how loud.
class ChannelAudioControl : public QObject {
    Q_OBJECT
public:
    ChannelAudioControl(QWidget* window, ViewerSessions& sessions, CLiveDecoder& decoder, QObject* parent);

    // The current session's buttons (all off while there is none).
    void ShowCurrentPanel();
    void SetSliderVisible(bool visible);

private:
    void onVideoPressed(int channel);
    void onAudioPressed(int channel);
    void onMutePressed();
    void onSliderReleased(int position);
    void applyAudio(ViewerSessionTable::Row& row, const AudioChange& change);

    ViewerSessions& m_sessions;
    CLiveDecoder& m_decoder;
    ChannelButtonBar* m_buttons;
};
