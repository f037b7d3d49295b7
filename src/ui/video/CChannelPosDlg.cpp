#include "ui/video/CChannelPosDlg.h"

#include "ui/controls/CtrlId.h"
#include "ui/controls/DialogKeys.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/VideoWindowState.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

struct ButtonPlace {
    int id;
    const char* element;
    const char* text;
    int x;
    int y;
};

constexpr ButtonPlace kButtons[] = {
    {kBtnFullScreen, "m_btn_Full", "Full", 23, 8},   {kBtnLayoutSingle, "m_btn_1ch", "1", 83, 8},
    {kBtnLayoutQuad, "m_btn_4ch", "4", 142, 8},      {kBtnLayoutNine, "m_btn_9ch", "9", 23, 45},
    {kBtnLayoutEight, "m_btn_8ch", "8", 83, 45},     {kBtnLayoutSixteen, "m_btn_16ch", "16", 142, 45},
};
constexpr int kButtonWidth = 56;
constexpr int kButtonHeight = 34;

} // namespace

CChannelPosDlg::CChannelPosDlg(CRenderWnd* video, VideoWindowState* state, QWidget* parent)
    : QWidget(parent)
    , m_video(video)
    , m_state(state)
{
    setObjectName("m_bg_Button");
    for (const ButtonPlace& place : kButtons) {
        auto* button = new QPushButton(place.text, this);
        SetCtrlId(button, place.id);
        button->setObjectName(place.element);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setGeometry(place.x, place.y, kButtonWidth, kButtonHeight);
        const int id = place.id;
        if (id == kBtnFullScreen)
            connect(button, &QPushButton::clicked, this, [this] { onFullScreenButton(); });
        else
            connect(button, &QPushButton::clicked, this, [this, id] { onLayoutButton(id); });
    }
    connect(m_video, &CRenderWnd::fullScreenExitRequested, this, [this] {
        Button(kBtnFullScreen)->setChecked(false);
        SetFullScreen(false);
    });
}

QPushButton* CChannelPosDlg::Button(int id) const
{
    return FindCtrl<QPushButton>(this, id);
}

void CChannelPosDlg::checkOnly(int id)
{
    for (const ButtonPlace& place : kButtons)
        if (place.id != kBtnFullScreen)
            Button(place.id)->setChecked(place.id == id);
}

void CChannelPosDlg::onLayoutButton(int id)
{
    QPushButton* button = Button(id);
    if (!m_state->connected) {
        button->setChecked(false);
        return;
    }
    if (!button->isChecked()) {
        m_applied = false;
        return;
    }
    m_mode = LayoutModeForButton(id);
    checkOnly(id);
    applyMode(m_mode);
}

void CChannelPosDlg::applyMode(LayoutMode mode)
{
    if (m_state->fullScreen)
        m_video->ApplyPanes(FullScreenLayout(mode, m_state->selectedChannel, m_state->screenWidth,
                                             m_state->screenHeight));
    else
        m_video->ApplyPanes(WindowedLayout(mode, m_state->selectedChannel));
    m_video->RequestRedraw();
    m_applied = true;
    if (m_listener)
        m_listener->LayoutApplied();
}

void CChannelPosDlg::ApplyPairedLayout()
{
    PairedLayoutInput in;
    in.selectedChannel = m_state->selectedChannel;
    in.setupMode = m_state->setupMode;
    in.perCameraStreams = m_state->perCameraStreams;
    in.fullScreen = m_state->fullScreen;
    in.width = m_state->screenWidth;
    in.height = m_state->screenHeight;
    m_video->ApplyPanes(PairedLayout(in));
    m_video->RequestRedraw();
}

void CChannelPosDlg::ApplyLiveStartLayout()
{
    const bool paired = m_state->pairedRecorder;
    for (const ButtonPlace& place : kButtons)
        if (place.id != kBtnFullScreen)
            Button(place.id)->setEnabled(!paired);
    if (paired) {
        ApplyPairedLayout();
        return;
    }
    m_mode = LayoutMode::Sixteen;
    checkOnly(kBtnLayoutSixteen);
    applyMode(m_mode);
}

void CChannelPosDlg::onFullScreenButton()
{
    QPushButton* button = Button(kBtnFullScreen);
    if (!m_state->connected) {
        button->setChecked(false);
        return;
    }
    SetFullScreen(button->isChecked());
}

void CChannelPosDlg::SetFullScreen(bool on)
{
    if (!m_state->connected)
        return;
    m_state->fullScreen = on;
    Button(kBtnFullScreen)->setChecked(on);
    if (m_listener)
        m_listener->FullScreenChanged(on);
    if (on)
        m_video->setGeometry(0, 0, m_state->screenWidth, m_state->screenHeight);
    else
        m_video->setGeometry(CRenderWnd::kWindowedGeometry);
    m_video->raise();
    if (m_state->pairedRecorder) {
        ApplyPairedLayout();
        return;
    }
    if (!on)
        checkOnly(ButtonForLayoutMode(m_mode));
    applyMode(m_mode);
}

void CChannelPosDlg::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QWidget::keyPressEvent(event);
}
