#pragma once

#include "core/viewer/ChannelPanel.h"

#include <QObject>

#include <array>

class CBitmapSlider;
class QPushButton;
class QWidget;

// The controls below the video pane: channel buttons 5000-5015, audio
// buttons 5100-5115 (4 x 4 grids), mute 1201 and volume slider 3500. They
// show a ChannelPanel; a press reports the control with its new check state
// already in the panel passed to Read.
class ChannelButtonBar : public QObject {
    Q_OBJECT
public:
    static constexpr int kVideoBase = 5000;
    static constexpr int kAudioBase = 5100;
    static constexpr int kMute = 1201;
    static constexpr int kSlider = 3500;

    explicit ChannelButtonBar(QWidget* window);

    void Show(const ChannelPanel& panel);
    // The check states on screen copied into `panel` (what a press flipped).
    void Read(ChannelPanel& panel) const;
    void SetSliderVisible(bool visible);

signals:
    void videoPressed(int channel);
    void audioPressed(int channel);
    void mutePressed();
    // The slider settled (mouse released or a key pressed) at `position`.
    void sliderReleased(int position);

private:
    std::array<QPushButton*, ChannelPanel::kChannels> m_video{};
    std::array<QPushButton*, ChannelPanel::kChannels> m_audio{};
    QPushButton* m_mute = nullptr;  // a push-like check box
    CBitmapSlider* m_slider = nullptr;
};
