#pragma once

#include "core/video/UserViewGrid.h"

#include <QRect>
#include <QWidget>

#include <cstdint>
#include <optional>

class CChannelPosDlg;
class CRenderWnd;
class QPushButton;
struct OverlayState;
struct VideoWindowState;

// The user-view panel (dialog 136): square blocks dragged on a 4 x 4 grid
// that stands for the video window become large panes when applied (3005);
// clear (3010) returns to sixteen panes.
class CUserViewDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClear = 3010;
    static constexpr int kApply = 3005;
    static constexpr int kLogViewer = 1221;
    static constexpr int kGridArea = 3002;
    static constexpr int kWidth = 215;
    static constexpr int kHeight = 221;
    static constexpr QRect kGridPlace{27, 12, 169, 128};

    CUserViewDlg(CRenderWnd* video, CChannelPosDlg* layoutPanel, VideoWindowState* state, OverlayState* overlay,
                 QWidget* parent = nullptr);

    QPushButton* Button(int id) const;
    const UserViewGrid& Grid() const { return m_grid; }
    bool Applied() const { return m_applied; }
    // Channels shown in a large pane by the last apply.
    std::uint16_t PlacedMask() const { return m_placedMask; }
    // The panel point at the centre of a grid cell.
    QPoint CellCentre(GridCell cell) const;

    void Apply();
    // Also run when live starts or stops and when a session goes.
    void Clear();

signals:
    // The log-viewer button was pressed.
    void logViewerRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::optional<GridCell> cellAt(QPoint point) const;
    QRect cellRect(const CellBlock& block) const;
    bool locked() const;
    void setLayoutButtons(bool enabled);

    CRenderWnd* m_video;
    CChannelPosDlg* m_layoutPanel;
    VideoWindowState* m_state;
    OverlayState* m_overlay;
    UserViewGrid m_grid;
    int m_cellWidth = kGridPlace.width() / UserViewGrid::kSize;
    int m_cellHeight = kGridPlace.height() / UserViewGrid::kSize;
    bool m_applied = false;
    std::uint16_t m_placedMask = 0;
};
