#include "ui/viewer/ChannelButtonBar.h"

#include "ui/controls/CBitmapSlider.h"
#include "ui/controls/CtrlId.h"

#include <QPushButton>

namespace {

constexpr int kVideoLeft = 474;
constexpr int kAudioLeft = 671;
constexpr int kGridTop = 643;
constexpr int kStepX = 35;
constexpr int kStepY = 30;
constexpr int kButtonWidth = 33;
constexpr int kButtonHeight = 29;

QPushButton* GridButton(QWidget* window, int id, int left, int index, const QString& text)
{
    auto* button = new QPushButton(text, window);
    SetCtrlId(button, id);
    button->setCheckable(true);
    button->setEnabled(false);
    button->setAutoDefault(false);
    button->setGeometry(left + kStepX * (index % 4), kGridTop + kStepY * (index / 4), kButtonWidth, kButtonHeight);
    return button;
}

void ShowToggle(QPushButton* button, const ToggleButton& state)
{
    button->setEnabled(state.enabled);
    button->setChecked(state.checked);
}

} // namespace

ChannelButtonBar::ChannelButtonBar(QWidget* window)
    : QObject(window)
{
    for (int k = 0; k < ChannelPanel::kChannels; ++k) {
        m_video[k] = GridButton(window, kVideoBase + k, kVideoLeft, k, QString::number(k + 1));
        m_video[k]->setObjectName(QString("m_btn_Video_%1").arg(k + 1));
        connect(m_video[k], &QPushButton::clicked, this, [this, k] { emit videoPressed(k); });
        m_audio[k] = GridButton(window, kAudioBase + k, kAudioLeft, k, QString::number(k + 1));
        m_audio[k]->setObjectName(QString("m_btn_Audio_%1").arg(k + 1));
        connect(m_audio[k], &QPushButton::clicked, this, [this, k] { emit audioPressed(k); });
    }
    m_mute = new QPushButton("M", window);
    SetCtrlId(m_mute, kMute);
    m_mute->setObjectName("m_btn_Volume");
    m_mute->setCheckable(true);
    m_mute->setAutoDefault(false);
    m_mute->setGeometry(629, 645, 28, 29);
    connect(m_mute, &QPushButton::clicked, this, &ChannelButtonBar::mutePressed);

    m_slider = new CBitmapSlider(window);
    SetCtrlId(m_slider, kSlider);
    // Vertical puts the minimum, position 0 (loudest), at the top.
    m_slider->SetOrientation(Qt::Vertical);
    m_slider->SetRange(0, ChannelPanel::kSliderMax);
    m_slider->setGeometry(636, 676, 16, 86);
    connect(m_slider, &CBitmapSlider::Notify, this, [this](unsigned message, int, int position) {
        if (message == CBitmapSlider::kMsgMoved)
            emit sliderReleased(position);
    });
    Show(ChannelPanel{});
}

void ChannelButtonBar::Show(const ChannelPanel& panel)
{
    for (int k = 0; k < ChannelPanel::kChannels; ++k) {
        ShowToggle(m_video[k], panel.video[k]);
        ShowToggle(m_audio[k], panel.audio[k]);
    }
    m_mute->setChecked(panel.muteChecked);
    m_slider->SetPos(panel.sliderPosition);
    m_slider->setEnabled(panel.sliderEnabled);
}

void ChannelButtonBar::SetSliderVisible(bool visible)
{
    m_slider->setVisible(visible);
}

void ChannelButtonBar::Read(ChannelPanel& panel) const
{
    for (int k = 0; k < ChannelPanel::kChannels; ++k) {
        panel.video[k].checked = m_video[k]->isChecked();
        panel.audio[k].checked = m_audio[k]->isChecked();
    }
    panel.muteChecked = m_mute->isChecked();
    panel.sliderPosition = m_slider->GetPos();
}
