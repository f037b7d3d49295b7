#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include "core/msg/WindowMessage.h"
#include "core/video/ChannelAssignment.h"
#include "core/video/LayoutGeometry.h"
#include "core/video/PaintPacer.h"
#include "core/video/PaneRecord.h"
#include "core/viewer/PaneNeighbour.h"
#include "ui/video/OverlayPainter.h"

class CLiveDecoder;
struct OverlayState;
struct VideoWindowState;
class VideoWindowListener;

// The video window: the decoder draws every channel into its pane here, the
// overlay draws on top. A click selects a pane, a band drawn over it zooms,
// a double-click shows or hides the titles.
class CRenderWnd : public QWidget, private CMessageReceiver {
    Q_OBJECT
public:
    static constexpr int kTimerBlanking = 136;
    static constexpr int kBlankingMs = 500;
    static constexpr QRect kWindowedGeometry{10, 31, kVideoWindowWidth, kVideoWindowHeight};

    CRenderWnd(CLiveDecoder* decoder, OverlayState* overlay, VideoWindowState* state, QWidget* parent = nullptr);
    ~CRenderWnd() override;

    // The handle the decoder posts new-picture messages to.
    HWND Handle() const { return m_handle; }
    void SetListener(VideoWindowListener* listener) { m_listener = listener; }

    // Gives every channel its pane in all the places that keep it: the
    // decoder, this window's hit-test table, the pane records and the overlay.
    void ApplyPanes(const PaneLayout& layout);
    const PaneRect& PaneOf(int channel) const { return m_paneRect.at(static_cast<std::size_t>(channel)); }
    PaneRecord& Pane(int channel) { return m_pane.at(static_cast<std::size_t>(channel)); }

    // Asks the decoder to repaint every visible channel.
    void RequestRedraw();

    // Live start: panes stay blank for half a second, then every channel
    // shows its whole picture when the current session shows any pane.
    void StartBlanking();
    // Live started on `server`: each pane of `pairs` shows its camera of that
    // server, and the overlay takes the occupied panes as the live ones.
    void RecordLivePanes(int server, const std::vector<PaneCamera>& pairs, std::uint16_t occupiedPanes);
    bool BlankingRunning() const { return m_blanking.isActive(); }

    // The overlay for the recorder kind: titled or not (double-click), paired
    // two-camera pictures, alarm frames.
    void InstallOverlayFor(bool alarm);
    bool TitlesShown() const { return m_titlesShown; }

    bool Zoomed() const { return m_zoomed; }
    // The pane whose picture is zoomed; -1 when none.
    int ZoomedPane() const { return m_zoomed ? m_zoomedPane : -1; }
    // The part of the selected pane's picture shown, in picture pixels.
    const PaneRect& Viewport() const { return m_viewport; }
    int SelectedPane() const { return m_selectedPane; }
    // An arrow key: the neighbouring live pane on that side becomes the
    // selected one, as a click on it would make it; nothing at the edge,
    // in setup mode or while a band is being drawn.
    void MoveSelection(PaneDirection direction);
    // Shows the zoomed pane's whole picture again.
    void ResetZoom();

    // The remote setup pages closed (message 5024): the window returns to the
    // main window at its place, and the sixteen-pane layout comes back when the
    // camera page had borrowed it.
    void RestoreAfterSetup(QWidget* mainWindow, bool cameraPageWasLast);
    // The camera setup page borrows the window as its preview at `place`;
    // every channel's picture is cleared.
    void LendAsPreview(QWidget* page, const QRect& place);
    // The borrowed window shows only `channel`, filling it, with `draw` over
    // its picture (the others are placed off it).
    void ShowPreviewChannel(int channel, MP4MUL_RenderCallback draw, void* context);

signals:
    // A right click in full screen asks to leave it.
    void fullScreenExitRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
    void scheduleRepaint();
    void repaintChangedPanes();
    void selectPane(QPoint point);
    void makeSelected(int channel);
    void finishBand();
    void clearDrag();
    void onBlankingDone();
    void setOverlayDrag(bool dragging);
    bool canAct() const;

    CLiveDecoder* m_decoder;
    OverlayState* m_overlay;
    VideoWindowState* m_state;
    VideoWindowListener* m_listener = nullptr;
    HWND m_handle = 0;

    std::array<PaneRect, kPaneCount> m_paneRect;
    bool m_titlesShown = true;  // every double-click toggles, the first one hides
    std::array<PaneRecord, kPaneCount> m_pane;

    // Drag and zoom.
    QPoint m_startPoint;
    QPoint m_currentPoint;
    int m_selectedPane = -1;
    bool m_zoomed = false;
    bool m_dragging = false;
    bool m_buttonDown = false;
    bool m_armed = false;
    QPoint m_bandStart;
    QPoint m_bandEnd;
    PaneRect m_selectedPaneRect;
    PaneRect m_viewport;
    // The zoom stays with its pane when another pane is selected, so ending it
    // restores that pane and not the newly selected one.
    int m_zoomedPane = -1;
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;

    QTimer m_blanking;
    // New pictures are painted at most once a display refresh.
    PaintPacer m_paintPacer;
    QTimer m_pacedRepaint;
};
