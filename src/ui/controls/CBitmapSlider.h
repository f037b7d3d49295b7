#pragma once

#include <QPixmap>
#include <QWidget>

// A horizontal slider drawn from a channel image and a thumb image (plain
// shapes when none is given). The left button drags the thumb; keys step it.
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

    QSize sizeHint() const override { return {120, 20}; }

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
    int thumbWidth() const;
    int thumbCentre() const;
    int positionAt(int centreX) const;
    void post(unsigned message);

    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
    int m_page = 10;
    bool m_dragging = false;
    int m_grabOffset = 0;
    QPixmap m_channel;
    QPixmap m_thumb;
};
