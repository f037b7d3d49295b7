#include "ui/video/CRenderWnd.h"

#include "core/video/OverlayState.h"
#include "core/video/ZoomMath.h"
#include "platform/decoder/LiveDecoder.h"
#include "platform/video/LiveSessionState.h"
#include "ui/video/VideoWindowState.h"

#include "ui/controls/DialogKeys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace {

int PictureDimension(int decoded, int assumed)
{
    return decoded > 0 ? decoded : assumed;
}

// The window area of a pane the decoder draws; empty for a hidden pane (one pixel wide or less).
QRect PaneArea(const PaneRect& r)
{
    if (r.Width() <= 1 || r.Height() <= 1)
        return QRect();
    return QRect(r.left, r.top, r.Width(), r.Height());
}

} // namespace

CRenderWnd::CRenderWnd(CLiveDecoder* decoder, OverlayState* overlay, VideoWindowState* state, QWidget* parent)
    : QWidget(parent)
    , m_decoder(decoder)
    , m_overlay(overlay)
    , m_state(state)
    , m_paintPacer(kVideoPaintInterval)
{
    m_paneRect.fill(kHiddenPane);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(QStringLiteral("Live video"));
    setGeometry(0, 0, kVideoWindowWidth, kVideoWindowHeight);
    m_blanking.setSingleShot(true);
    m_blanking.setInterval(kBlankingMs);
    connect(&m_blanking, &QTimer::timeout, this, &CRenderWnd::onBlankingDone);
    m_pacedRepaint.setSingleShot(true);
    m_pacedRepaint.setTimerType(Qt::PreciseTimer);
    connect(&m_pacedRepaint, &QTimer::timeout, this, &CRenderWnd::repaintChangedPanes);
    m_handle = RegisterMessageReceiver(this);
}

CRenderWnd::~CRenderWnd()
{
    UnregisterMessageReceiver(m_handle);
}

void CRenderWnd::OnPostedMessage(unsigned message, WPARAM, LPARAM)
{
    if (message != kMsgVideoFramesReady)
        return;
    // Any thread: the repaint is asked for on the window's own thread.
    QMetaObject::invokeMethod(this, [this] { scheduleRepaint(); }, Qt::QueuedConnection);
}

void CRenderWnd::scheduleRepaint()
{
    if (m_pacedRepaint.isActive())
        return;
    const auto wait = m_paintPacer.WaitBeforePaint(PaintPacer::Clock::now());
    if (wait == PaintPacer::Clock::duration::zero()) {
        repaintChangedPanes();
        return;
    }
    // The changed channels stay noted in the decoder until then, and it posts
    // no further message while this one is unanswered.
    m_pacedRepaint.start(std::chrono::ceil<std::chrono::milliseconds>(wait));
}

void CRenderWnd::repaintChangedPanes()
{
    m_paintPacer.Painted(PaintPacer::Clock::now());
    const std::uint16_t changed = m_decoder ? m_decoder->TakeChangedChannels() : 0;
    if (changed == 0) {
        // Not from the decoder's pictures: nothing says what changed.
        update();
        return;
    }
    // Only the panes with new pictures: repainting all sixteen for every new
    // picture would copy each picture many times over.
    QRegion region;
    for (int ch = 0; ch < kPaneCount; ++ch) {
        if ((changed >> ch) & 1u)
            region += PaneArea(m_paneRect[ch]);
    }
    if (!region.isEmpty())
        update(region);
}

void CRenderWnd::ApplyPanes(const PaneLayout& layout)
{
    for (int ch = 0; ch < kPaneCount; ++ch) {
        const PaneRect& r = layout[ch];
        m_paneRect[ch] = r;
        m_pane[ch].rect = r;
        if (m_decoder)
            m_decoder->SetVideoPos(ch, r.left, r.top, r.right, r.bottom);
    }
    if (m_overlay) {
        std::lock_guard guard(m_overlay->lock);
        m_overlay->paneRect = layout;
    }
    update();
}

void CRenderWnd::RequestRedraw()
{
    if (m_decoder)
        m_decoder->Redraw();
    update();
}

void CRenderWnd::StartBlanking()
{
    if (m_overlay) {
        std::lock_guard guard(m_overlay->lock);
        m_overlay->blankingDone = false;
    }
    m_blanking.start();
}

void CRenderWnd::RecordLivePanes(int server, const std::vector<PaneCamera>& pairs, std::uint16_t occupiedPanes)
{
    for (const PaneCamera& pair : pairs)
        if (pair.pane >= 0 && pair.pane < kPaneCount)
            m_pane[pair.pane].Assign(server, pair.pane, pair.camera);
    if (m_overlay)
        m_overlay->LiveStarted(occupiedPanes);
    StartBlanking();
}

void CRenderWnd::onBlankingDone()
{
    if (m_overlay) {
        std::lock_guard guard(m_overlay->lock);
        m_overlay->blankingDone = true;
    }
    if (m_decoder && (m_state->currentOwnedPanes & m_state->occupiedPanes) != 0) {
        for (int ch = 0; ch < kPaneCount; ++ch)
            m_decoder->SetVideoViewport(ch, 0, 0, m_decoder->GetVideoWidth(ch), m_decoder->GetVideoHeight(ch));
    }
    update();
}

void CRenderWnd::InstallOverlayFor(bool alarm)
{
    if (!m_decoder || !m_overlay)
        return;
    OverlayVariant variant;
    variant.twoCameras = m_state->pairedRecorder && !m_state->perCameraStreams;
    variant.titles = m_titlesShown;
    variant.alarm = alarm;
    InstallOverlay(*m_decoder, *m_overlay, variant);
}

bool CRenderWnd::canAct() const
{
    return m_state->connected && m_state->sessionEstablished;
}

void CRenderWnd::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!m_decoder) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The decoder covers every visible pane (picture or black); the rest is black.
    QRegion background = event->region();
    for (const PaneRect& r : m_paneRect)
        background -= PaneArea(r);
    for (const QRect& part : background)
        painter.fillRect(part, Qt::black);
    m_decoder->PaintVideo(painter, event->region());
}

void CRenderWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (m_zoomed)
            ResetZoom();
        if (m_state->fullScreen)
            emit fullScreenExitRequested();
        return;
    }
    if (event->button() != Qt::LeftButton || !canAct())
        return;
    if (m_state->setupMode) {
        if (m_listener)
            m_listener->CameraSetupClick(m_state->pairedRecorder ? kMsgSetupClickPaired : kMsgSetupClick, point.x(),
                                         point.y());
        return;
    }
    selectPane(point);
}

void CRenderWnd::selectPane(QPoint point)
{
    int found = -1;
    for (int ch = 0; ch < kPaneCount; ++ch) {
        if (m_paneRect[ch].Contains(point.x(), point.y()) && ((m_state->occupiedPanes >> ch) & 1u)) {
            found = ch;
            break;
        }
    }
    if (found < 0)
        return;

    m_startPoint = m_currentPoint = m_bandStart = m_bandEnd = point;
    m_buttonDown = true;
    m_armed = true;
    makeSelected(found);
}

void CRenderWnd::MoveSelection(PaneDirection direction)
{
    if (!canAct() || m_state->setupMode || m_buttonDown)
        return;
    const int next = PaneNeighbour(m_paneRect, m_state->occupiedPanes, m_state->selectedChannel, direction);
    if (next >= 0 && next != m_state->selectedChannel)
        makeSelected(next);
}

void CRenderWnd::makeSelected(int channel)
{
    m_selectedPane = channel;
    m_pictureWidth = PictureDimension(m_decoder ? m_decoder->GetVideoWidth(channel) : 0,
                                      LiveSessionState::kAssumedWidth);
    m_pictureHeight = PictureDimension(m_decoder ? m_decoder->GetVideoHeight(channel) : 0,
                                       LiveSessionState::kAssumedHeight);
    m_selectedPaneRect = m_paneRect[channel];

    m_state->selectedChannel = channel;
    if (m_overlay) {
        std::lock_guard guard(m_overlay->lock);
        m_overlay->selectedChannel = channel;
    }
    if (m_listener)
        m_listener->PaneSelected(channel, m_pane[channel].OwningServer(), m_pane[channel].ShownCamera(), m_pictureWidth,
                                 m_pictureHeight);
    RequestRedraw();
    if (m_state->alarmDisplayActive) {
        if (m_listener)
            m_listener->StopAlarmDisplay();
        m_state->alarmDisplayActive = false;
        InstallOverlayFor(false);
        RequestRedraw();
    }
}

void CRenderWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (m_state->setupMode || !m_buttonDown || m_zoomed)
        return;
    const QPoint point = event->position().toPoint();
    if (!m_selectedPaneRect.Contains(point.x(), point.y())) {
        // Leaving the pane drops the band.
        clearDrag();
        m_buttonDown = false;
        m_armed = false;
        return;
    }
    m_dragging = true;
    m_currentPoint = m_bandEnd = point;
    setOverlayDrag(true);
    update();
}

void CRenderWnd::setOverlayDrag(bool dragging)
{
    if (!m_overlay)
        return;
    std::lock_guard guard(m_overlay->lock);
    m_overlay->dragging = dragging;
    m_overlay->dragRect = PaneRect{m_bandStart.x() - m_selectedPaneRect.left, m_bandStart.y() - m_selectedPaneRect.top,
                                   m_bandEnd.x() - m_selectedPaneRect.left, m_bandEnd.y() - m_selectedPaneRect.top};
}

void CRenderWnd::clearDrag()
{
    m_dragging = false;
    m_startPoint = m_currentPoint = m_bandStart = m_bandEnd = QPoint();
    if (m_overlay) {
        std::lock_guard guard(m_overlay->lock);
        m_overlay->dragging = false;
    }
    update();
}

void CRenderWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !canAct() || !m_buttonDown || m_state->setupMode)
        return;
    m_buttonDown = false;
    m_armed = false;
    finishBand();
}

void CRenderWnd::finishBand()
{
    if (m_zoomed) {
        ResetZoom();
        return;
    }
    auto viewport = ZoomViewport({m_bandStart.x(), m_bandStart.y()}, {m_bandEnd.x(), m_bandEnd.y()},
                                 m_selectedPaneRect, m_pictureWidth, m_pictureHeight);
    if (!viewport) {
        ResetZoom();
        return;
    }
    m_zoomed = true;
    m_zoomedPane = m_selectedPane;
    m_viewport = *viewport;
    if (m_decoder)
        m_decoder->SetVideoViewport(m_selectedPane, m_viewport.left, m_viewport.top, m_viewport.right,
                                    m_viewport.bottom);
    clearDrag();
}

void CRenderWnd::ResetZoom()
{
    const int pane = m_zoomed ? m_zoomedPane : m_selectedPane;
    m_zoomed = false;
    m_zoomedPane = -1;
    if (pane >= 0) {
        const int width = PictureDimension(m_decoder ? m_decoder->GetVideoWidth(pane) : 0,
                                           LiveSessionState::kAssumedWidth);
        const int height = PictureDimension(m_decoder ? m_decoder->GetVideoHeight(pane) : 0,
                                            LiveSessionState::kAssumedHeight);
        m_viewport = WholePicture(width, height);
        if (m_decoder)
            m_decoder->SetVideoViewport(pane, 0, 0, width, height);
    }
    clearDrag();
}

void CRenderWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !canAct() || m_state->setupMode)
        return;
    m_titlesShown = !m_titlesShown;
    InstallOverlayFor(m_state->alarmDisplayActive);
    update();
}

void CRenderWnd::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QWidget::keyPressEvent(event);
}

void CRenderWnd::RestoreAfterSetup(QWidget* mainWindow, bool cameraPageWasLast)
{
    m_state->setupMode = false;
    InstallOverlayFor(false);
    setParent(mainWindow);
    setGeometry(kWindowedGeometry);
    show();
    raise();
    if (cameraPageWasLast)
        ApplyPanes(WindowedLayout(LayoutMode::Sixteen, m_state->selectedChannel));
    RequestRedraw();
}

void CRenderWnd::LendAsPreview(QWidget* page, const QRect& place)
{
    if (m_decoder)
        for (int ch = 0; ch < kPaneCount; ++ch)
            m_decoder->ClearChannel(ch);
    setParent(page);
    setGeometry(place);
    show();
}

void CRenderWnd::ShowPreviewChannel(int channel, MP4MUL_RenderCallback draw, void* context)
{
    // A pane of no size at the far corner: off the preview.
    PaneLayout layout;
    layout.fill(PaneRect{width(), height(), width(), height()});
    if (channel >= 0 && channel < kPaneCount)
        layout[channel] = PaneRect{0, 0, width(), height()};
    ApplyPanes(layout);
    if (m_decoder) {
        m_decoder->SetRenderCallback(nullptr, nullptr);
        m_decoder->SetRenderCallback(draw, context);
    }
    RequestRedraw();
}
