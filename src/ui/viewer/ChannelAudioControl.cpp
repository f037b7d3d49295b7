#include "ui/viewer/ChannelAudioControl.h"

#include "core/viewer/LiveControl.h"
#include "platform/decoder/LiveDecoder.h"
#include "ui/viewer/ChannelButtonBar.h"
#include "ui/viewer/ViewerSessions.h"

ChannelAudioControl::ChannelAudioControl(QWidget* window, ViewerSessions& sessions, CLiveDecoder& decoder,
                                         QObject* parent)
    : QObject(parent)
    , m_sessions(sessions)
    , m_decoder(decoder)
    , m_buttons(new ChannelButtonBar(window))
{
    connect(m_buttons, &ChannelButtonBar::videoPressed, this, &ChannelAudioControl::onVideoPressed);
    connect(m_buttons, &ChannelButtonBar::audioPressed, this, &ChannelAudioControl::onAudioPressed);
    connect(m_buttons, &ChannelButtonBar::mutePressed, this, &ChannelAudioControl::onMutePressed);
    connect(m_buttons, &ChannelButtonBar::sliderReleased, this, &ChannelAudioControl::onSliderReleased);
}

void ChannelAudioControl::ShowCurrentPanel()
{
    m_buttons->Show(m_sessions.HasCurrent() ? m_sessions.Current().panel : ChannelPanel{});
}

void ChannelAudioControl::SetSliderVisible(bool visible)
{
    m_buttons->SetSliderVisible(visible);
}

void ChannelAudioControl::onVideoPressed(int channel)
{
    if (!m_sessions.HasCurrent())
        return;
    auto& row = m_sessions.Current();
    m_buttons->Read(row.panel);
    PressVideoButton(row.panel, row.channels, channel);
    ShowCurrentPanel();
}

void ChannelAudioControl::onAudioPressed(int channel)
{
    if (!m_sessions.HasCurrent())
        return;
    auto& row = m_sessions.Current();
    m_buttons->Read(row.panel);
    const auto change = PressAudioButton(row.panel, row.channels, channel);
    ShowCurrentPanel();
    if (change)
        applyAudio(row, *change);
}

void ChannelAudioControl::onMutePressed()
{
    if (!m_sessions.HasCurrent()) {
        ShowCurrentPanel();
        return;
    }
    auto& row = m_sessions.Current();
    m_buttons->Read(row.panel);
    const auto change = PressMute(row.panel, row.channels, row.record.listed, row.record.live.callbackRegistered);
    ShowCurrentPanel();
    if (change)
        applyAudio(row, *change);
}

void ChannelAudioControl::onSliderReleased(int position)
{
    if (!m_sessions.HasCurrent())
        return;
    auto& row = m_sessions.Current();
    m_decoder.SetVolume(ReleaseSlider(row.panel, row.channels, position));
}

void ChannelAudioControl::applyAudio(ViewerSessionTable::Row& row, const AudioChange& change)
{
    m_decoder.SetVolume(0);
    if (change.selectChannel)
        m_decoder.SelectAudio(*change.selectChannel);
    m_decoder.SetVolume(change.decoderVolume);
    if (change.requestMedia)
        row.session.LiveMediaControl(row.channels.requestedVideo, row.channels.requestedAudio);
    row.record.live.SetAudioEnabled(change.audioOn);
    m_decoder.SetAudioOn(change.audioOn);
}
