#include "ui/video/CUserViewDlg.h"

#include "core/video/LayoutGeometry.h"
#include "core/video/OverlayState.h"
#include "core/video/UserViewLayout.h"
#include "ui/controls/CtrlId.h"
#include "ui/controls/DialogKeys.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/VideoWindowState.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <mutex>

namespace {

struct StaticPlace {
    int id;
    const char* element;
    QRect place;
};

// Blank frames around the grid, drawn by the skin.
constexpr StaticPlace kStatics[] = {
    {1208, "m_staticleft_Userview", {0, 0, 28, 139}},
    {1211, "m_statictop_Userview", {28, 0, 167, 13}},
    {1213, "m_staticright_Userview", {195, 0, 20, 139}},
    {1215, "m_staticbottom_Userview", {0, 139, 215, 82}},
};
constexpr int kHiddenStatic = 1217;

struct ButtonPlace {
    int id;
    const char* element;
    const char* text;
    int x;
};

constexpr ButtonPlace kButtons[] = {
    {CUserViewDlg::kClear, "m_btn_Cancel", "Clear", 27},
    {CUserViewDlg::kLogViewer, "m_btn_logviewer", "Log", 86},
    {CUserViewDlg::kApply, "m_btn_Update", "Apply", 142},
};
constexpr int kButtonY = 152;
constexpr int kButtonWidth = 56;
constexpr int kButtonHeight = 61;

constexpr int kLayoutButtons[] = {kBtnFullScreen,  kBtnLayoutSingle, kBtnLayoutQuad,
                                  kBtnLayoutNine, kBtnLayoutEight,  kBtnLayoutSixteen};

const QColor kGridColour(0, 0, 128);
const QColor kBandColour(200, 200, 255);
const QColor kPaneColour(128, 128, 255);

} // namespace

CUserViewDlg::CUserViewDlg(CRenderWnd* video, CChannelPosDlg* layoutPanel, VideoWindowState* state,
                           OverlayState* overlay, QWidget* parent)
    : QWidget(parent)
    , m_video(video)
    , m_layoutPanel(layoutPanel)
    , m_state(state)
    , m_overlay(overlay)
{
    setAccessibleName("User view");
    resize(kWidth, kHeight);
    // Moves reach the editor whatever button state the platform reports.
    setMouseTracking(true);
    for (const StaticPlace& s : kStatics) {
        auto* frame = new QLabel(this);
        SetCtrlId(frame, s.id);
        frame->setObjectName(s.element);
        frame->setAccessibleName(s.element);
        frame->setGeometry(s.place);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    auto* hidden = new QLabel(this);
    SetCtrlId(hidden, kHiddenStatic);
    hidden->hide();
    auto* area = new QLabel(this);
    SetCtrlId(area, kGridArea);
    area->setAccessibleName("User view grid");
    area->setGeometry(kGridPlace);
    area->setAttribute(Qt::WA_TransparentForMouseEvents);

    for (const ButtonPlace& b : kButtons) {
        auto* button = new QPushButton(b.text, this);
        SetCtrlId(button, b.id);
        button->setObjectName(b.element);
        button->setAccessibleName(b.text);
        button->setAutoDefault(false);
        button->setGeometry(b.x, kButtonY, kButtonWidth, kButtonHeight);
    }
    connect(Button(kClear), &QPushButton::clicked, this, &CUserViewDlg::Clear);
    connect(Button(kApply), &QPushButton::clicked, this, &CUserViewDlg::Apply);
    connect(Button(kLogViewer), &QPushButton::clicked, this, &CUserViewDlg::logViewerRequested);
}

QPushButton* CUserViewDlg::Button(int id) const
{
    return FindCtrl<QPushButton>(this, id);
}

QPoint CUserViewDlg::CellCentre(GridCell cell) const
{
    return cellRect(CellBlock::Spanning(cell, cell)).center();
}

std::optional<GridCell> CUserViewDlg::cellAt(QPoint point) const
{
    const QPoint in = point - kGridPlace.topLeft();
    if (in.x() < 0 || in.y() < 0)
        return std::nullopt;
    const int column = in.x() / m_cellWidth;
    const int row = in.y() / m_cellHeight;
    // The strips right and below the last whole cells hit no cell.
    if (column >= UserViewGrid::kSize || row >= UserViewGrid::kSize)
        return std::nullopt;
    return GridCell{column, row};
}

QRect CUserViewDlg::cellRect(const CellBlock& block) const
{
    return QRect(kGridPlace.left() + block.left * m_cellWidth, kGridPlace.top() + block.top * m_cellHeight,
                 (block.right - block.left + 1) * m_cellWidth, (block.bottom - block.top + 1) * m_cellHeight);
}

bool CUserViewDlg::locked() const
{
    return m_applied || m_layoutPanel->Applied() || (m_state->pairedRecorder && m_state->occupiedPanes != 0);
}

void CUserViewDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || locked() || !kGridPlace.contains(event->position().toPoint()))
        return;
    m_grid.Press(cellAt(event->position().toPoint()));
    update();
}

void CUserViewDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_grid.Dragging())
        return;
    const QPoint point = event->position().toPoint();
    if (kGridPlace.contains(point))
        m_grid.Move(cellAt(point));
    else
        m_grid.Leave();
    update();
}

void CUserViewDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_grid.Dragging())
        return;
    const QPoint point = event->position().toPoint();
    m_grid.Release(kGridPlace.contains(point) ? cellAt(point) : std::nullopt);
    update();
}

void CUserViewDlg::Apply()
{
    if (m_layoutPanel->Applied())
        return;
    for (int id : kLayoutButtons) {
        m_layoutPanel->Button(id)->setChecked(false);
        m_layoutPanel->Button(id)->setEnabled(false);
    }
    const UserViewLayout view = ApplyUserView(m_grid.Panes());
    // Every place that keeps a pane follows, the overlay included, so titles
    // and frames move with the new view.
    m_video->ApplyPanes(view.panes);
    m_placedMask = view.placedMask;
    if (view.selected) {
        m_state->selectedChannel = *view.selected;
        std::lock_guard guard(m_overlay->lock);
        m_overlay->selectedChannel = *view.selected;
    }
    m_video->RequestRedraw();
    m_applied = true;
}

void CUserViewDlg::Clear()
{
    m_applied = false;
    m_grid.Clear();
    update();
    m_layoutPanel->MarkNotApplied();
    for (int id : kLayoutButtons)
        if (id != kBtnFullScreen)
            m_layoutPanel->Button(id)->setChecked(false);
    if (m_state->pairedRecorder) {
        Button(kApply)->setEnabled(false);
        m_state->selectedChannel = 0;
        m_layoutPanel->ApplyPairedLayout();
        setLayoutButtons(false);
        m_layoutPanel->Button(kBtnFullScreen)->setEnabled(true);
    } else {
        Button(kApply)->setEnabled(true);
        m_video->ApplyPanes(WindowedLayout(LayoutMode::Sixteen, 0));
        m_video->RequestRedraw();
        setLayoutButtons(true);
    }
    m_placedMask = 0;
}

void CUserViewDlg::setLayoutButtons(bool enabled)
{
    for (int id : kLayoutButtons)
        m_layoutPanel->Button(id)->setEnabled(enabled);
}

void CUserViewDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (const DrawnPane& pane : m_grid.Panes())
        painter.fillRect(cellRect(pane.block), kPaneColour);
    for (int row = 0; row < UserViewGrid::kSize; ++row)
        for (int column = 0; column < UserViewGrid::kSize; ++column)
            if (m_grid.At({column, row}) == UserViewGrid::State::Band)
                painter.fillRect(cellRect(CellBlock::Spanning({column, row}, {column, row})), kBandColour);
    painter.setPen(QPen(kGridColour, 2));
    const QPoint origin = kGridPlace.topLeft();
    const int width = m_cellWidth * UserViewGrid::kSize;
    const int height = m_cellHeight * UserViewGrid::kSize;
    for (int k = 0; k <= UserViewGrid::kSize; ++k) {
        painter.drawLine(origin + QPoint(0, k * m_cellHeight), origin + QPoint(width, k * m_cellHeight));
        painter.drawLine(origin + QPoint(k * m_cellWidth, 0), origin + QPoint(k * m_cellWidth, height));
    }
}

void CUserViewDlg::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QWidget::keyPressEvent(event);
}
