#pragma once

#include <QPixmap>
#include <QWidget>

// A slider drawn from a channel image and a thumb image (plain shapes when
// none is given), horizontal (minimum at the left) or vertical (minimum at
// the top). The left button drags the thumb; keys step it.
// Each move while dragging is reported as Moving, each settled position as
// Moved, both with the control id and the position, like the messages the
// parent window expects.
class CBitmapSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr unsigned kMsgMoving = 10449; // 0x28D1
    static constexpr unsigned kMsgMoved = 10450;  // 0x28D2

    explicit CBitmapSlider(QWidget* parent = nullptr);

    // A reversed range is taken the right way round; the position is clamped.
    void SetRange(int min, int max);
    int GetRangeMin() const { return m_min; }
    int GetRangeMax() const { return m_max; }
    void SetPos(int pos);
    int GetPos() const { return m_pos; }
    void SetPageSize(int page) { m_page = page < 1 ? 1 : page; }
    int GetPageSize() const { return m_page; }
    void SetBitmaps(const QPixmap& channel, const QPixmap& thumb);
    void SetOrientation(Qt::Orientation orientation);
    Qt::Orientation GetOrientation() const { return m_orientation; }

    QSize sizeHint() const override;

signals:
    // message is kMsgMoving or kMsgMoved; ctrlId is the control's id.
    void Notify(unsigned message, int ctrlId, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool vertical() const { return m_orientation == Qt::Vertical; }
    // Lengths and coordinates along the direction the thumb travels.
    int length() const;
    int along(const QMouseEvent* event) const;
    int thumbLength() const;
    int thumbCentre() const;
    int positionAt(int centre) const;
    void post(unsigned message);

    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
    int m_page = 10;
    Qt::Orientation m_orientation = Qt::Horizontal;
    bool m_dragging = false;
    int m_grabOffset = 0;
    QPixmap m_channel;
    QPixmap m_thumb;
};
