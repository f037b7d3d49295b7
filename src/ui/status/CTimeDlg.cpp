#include "ui/status/CTimeDlg.h"

#include <algorithm>
#include <utility>

#include <QCoreApplication>
#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ui/status/FittedText.h"

namespace {

const QColor kTextColour(220, 220, 112);
const QColor kMessageColour(0, 255, 255);
const QRgb kGlyphMask = qRgb(255, 255, 0);
const QRect kTimeArea(QPoint(92, 11), QPoint(199, 29));
constexpr int kDigitX[] = {93, 107, 125, 139, 156, 170};
constexpr int kDigitY = 12;
constexpr int kColonX[] = {120, 151};
constexpr int kColonY = 11;
constexpr int kDateY = 12;
constexpr int kMessageX = 99;

// The columns of a glyph cell that hold ink, as [first, last]; first > last
// for an empty cell.
std::pair<int, int> InkColumns(const QImage& glyphs, int cellLeft)
{
    int first = CTimeDlg::kGlyphWidth;
    int last = -1;
    for (int x = 0; x < CTimeDlg::kGlyphWidth; ++x)
        for (int y = 0; y < glyphs.height(); ++y)
            if (qAlpha(glyphs.pixel(cellLeft + x, y)) != 0) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

// Digits drawn at fixed places read evenly only when each sits in the middle
// of its cell, whatever the image's artist did.
void CentreInCells(QImage& glyphs)
{
    for (int digit = 0; digit < 10; ++digit) {
        const int cellLeft = digit * CTimeDlg::kGlyphWidth;
        const auto [first, last] = InkColumns(glyphs, cellLeft);
        if (first > last)
            continue;
        const int shift = (CTimeDlg::kGlyphWidth - (last - first + 1)) / 2 - first;
        if (shift == 0)
            continue;
        const QImage cell = glyphs.copy(cellLeft, 0, CTimeDlg::kGlyphWidth, glyphs.height());
        QPainter painter(&glyphs);
        painter.setClipRect(cellLeft, 0, CTimeDlg::kGlyphWidth, glyphs.height());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(cellLeft, 0, CTimeDlg::kGlyphWidth, glyphs.height(), Qt::transparent);
        painter.drawImage(cellLeft + shift, 0, cell);
    }
}

void DrawCentredDigit(QPainter& painter, int cellLeft, const QString& digit)
{
    const int width = std::min(painter.fontMetrics().horizontalAdvance(digit), CTimeDlg::kGlyphWidth);
    DrawFittedText(painter, cellLeft + (CTimeDlg::kGlyphWidth - width) / 2, kDigitY, digit, CTimeDlg::kGlyphWidth);
}

} // namespace

CTimeDlg::CTimeDlg(QWidget* parent)
    : QWidget(parent), m_glyphs(LoadDigitGlyphs(GlyphImagePath())), m_timer(new QTimer(this))
{
    m_font = QFont(QStringLiteral("Tahoma"));
    m_font.setPixelSize(17);
    m_font.setBold(true);
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_timer, &QTimer::timeout, this, &CTimeDlg::tick);
    m_timer->start(kTickMs);
}

QString CTimeDlg::GlyphImagePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/images/ClockDigits.png");
}

QImage CTimeDlg::LoadDigitGlyphs(const QString& path)
{
    QImage glyphs(path);
    if (glyphs.width() < 10 * kGlyphWidth)
        return {};
    glyphs = glyphs.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < glyphs.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(glyphs.scanLine(y));
        for (int x = 0; x < glyphs.width(); ++x)
            if ((line[x] & RGB_MASK) == (kGlyphMask & RGB_MASK))
                line[x] = qRgba(0, 0, 0, 0);
    }
    CentreInCells(glyphs);
    return glyphs;
}

void CTimeDlg::SetMessage(const QString& text)
{
    m_message = text;
    if (m_mode == kModeMessage)
        update(kTimeArea);
}

void CTimeDlg::SetMode(Mode mode)
{
    m_mode = mode;
    update(kTimeArea);
}

void CTimeDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SetMode(m_mode == kModeDigits ? kModeMessage : kModeDigits);
    QWidget::mousePressEvent(event);
}

void CTimeDlg::tick()
{
    // The date changes at midnight: then the whole clock is drawn again.
    if (QDate::currentDate() != m_shownDate)
        update();
    else
        update(kTimeArea);
}

void CTimeDlg::paintEvent(QPaintEvent*)
{
    const QDateTime now = QDateTime::currentDateTime();
    m_shownDate = now.date();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setFont(m_font);
    painter.setPen(kTextColour);
    // The date ends where the time begins.
    DrawFittedText(painter, 5, kDateY,
                   QString::asprintf("%04d-%02d-%02d", m_shownDate.year(), m_shownDate.month(), m_shownDate.day()),
                   kDigitX[0] - 7);
    if (m_mode == kModeMessage) {
        painter.setPen(kMessageColour);
        DrawFittedText(painter, kMessageX, kDateY, m_message, kWidth - kMessageX);
        return;
    }
    paintTime(painter, now.time());
}

void CTimeDlg::paintTime(QPainter& painter, const QTime& time) const
{
    const QString digits = QString::asprintf("%02d%02d%02d", time.hour(), time.minute(), time.second());
    for (int i = 0; i < 6; ++i) {
        const int digit = digits[i].digitValue();
        if (HasGlyphs())
            painter.drawImage(QPoint(kDigitX[i], kDigitY), m_glyphs,
                              QRect(digit * kGlyphWidth, 0, kGlyphWidth, m_glyphs.height()));
        else
            DrawCentredDigit(painter, kDigitX[i], digits.mid(i, 1));
    }
    for (int x : kColonX)
        DrawFittedText(painter, x, kColonY, QStringLiteral(":"), kDigitX[2] - kColonX[0]);
}
