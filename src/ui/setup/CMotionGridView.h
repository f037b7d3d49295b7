#pragma once

#include "core/setup/CameraPageRules.h"

#include <QPen>
#include <QWidget>

#include <functional>
#include <mutex>

// The Camera page's 320 x 240 preview area with the motion grid over it:
// green grid lines, marked cells in red with both diagonals. A click is
// passed on as a point in preview pixels (what the preview window reports
// with message 2457). The grid and the selected channel belong to the page;
// they are read under the page's lock, as a drawing thread would.
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Source m_source;
    // Made once: drawing allocates nothing.
    QPen m_gridPen{Qt::green, 3};
    QPen m_cellPen{Qt::red, 3};
    std::function<void(int, int)> m_onClick;
};
