#pragma once

#include "core/setup/CameraPageRules.h"

#include <QPen>
#include <QWidget>

#include <functional>
#include <mutex>

class QPainter;

// The Camera page's motion grid over its 320 x 240 preview: green grid lines,
// marked cells in red with both diagonals. The decoder draws it over the
// selected channel's picture in the borrowed video window (Render); without a
// video window to borrow, this widget is the preview and draws it on black.
// A click is passed on as a point in preview pixels (message 2457). The grid
// and the selected channel belong to the page; they are read under the
// page's lock, since the decoder draws from its own thread.
class CMotionGridView : public QWidget {
    Q_OBJECT
public:
    static constexpr QRect kPlace{290, 10, 320, 240};

    struct Source {
        std::mutex* lock;
        const MotionGrid* grid;
        const int* channel;
        const bool* twoGrids;
    };

    CMotionGridView(const Source& source, QWidget* parent);
    void SetClickHandler(std::function<void(int x, int y)> handler) { m_onClick = std::move(handler); }

    // The decoder's drawing callback; context is this view. Allocates nothing.
    static void Render(int channel, QPainter* dc, void* picture, void* reserved, void* context);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Draws the grid when `paneChannel` is the selected one (-1: whatever is selected).
    void draw(QPainter& painter, int paneChannel) const;

    Source m_source;
    // Made once: drawing allocates nothing.
    QPen m_gridPen{Qt::green, 3};
    QPen m_cellPen{Qt::red, 3};
    std::function<void(int, int)> m_onClick;
};
