#pragma once

#include <QTimer>
#include <QWidget>

// A progress bar that paints itself: a filled part for the position and a
// moving highlight, driven by its own timer, so a long wait still looks alive.
class CMacProgressCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CMacProgressCtrl(QWidget* parent = nullptr);

    // A reversed range is taken the right way round; the position is clamped.
    void SetRange(int min, int max);
    void SetPos(int pos);
    int GetPos() const { return m_pos; }
    // Fraction filled, 0.0 to 1.0.
    double Fraction() const;
    // The highlight's phase, advanced by the timer while the control is shown.
    int Phase() const { return m_phase; }
    void SetColor(const QColor& color);

    QSize sizeHint() const override { return {160, 14}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static constexpr int kPhaseSteps = 40;

    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
    int m_phase = 0;
    QColor m_color{0x4f, 0x9d, 0xe8};
    QTimer m_animation;
};
