#pragma once

#include <QDate>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

class QTimer;

// The clock: today's date, and either the time in digit glyphs or a message
// the main window sets. A left click switches between the two.
class CTimeDlg : public QWidget {
    Q_OBJECT
public:
    enum Mode { kModeDigits = 0, kModeMessage = 1 };
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 34;
    static constexpr int kGlyphWidth = 12;
    static constexpr int kTickMs = 1000;  // timer 1

    explicit CTimeDlg(QWidget* parent = nullptr);

    void SetMessage(const QString& text);
    QString Message() const { return m_message; }
    void SetMode(Mode mode);
    Mode GetMode() const { return m_mode; }
    // False when the glyph image was not found; the time is then drawn as text.
    bool HasGlyphs() const { return !m_glyphs.isNull(); }

    // Where the glyph image is looked for: images/ beside the program.
    static QString GlyphImagePath();
    // The ten glyphs of the image, yellow made transparent and each digit's
    // ink centred in its cell; null when the image is missing or too narrow.
    static QImage LoadDigitGlyphs(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void tick();
    void paintTime(QPainter& painter, const QTime& time) const;

    QFont m_font;
    QImage m_glyphs;  // ten glyphs 0..9 side by side, yellow made transparent
    Mode m_mode = kModeDigits;
    QString m_message;
    QDate m_shownDate;
    QTimer* m_timer;
};
