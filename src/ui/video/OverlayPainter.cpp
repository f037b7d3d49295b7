#include "ui/video/OverlayPainter.h"

#include "core/video/OverlayState.h"
#include "core/video/TitleText.h"
#include "ui/video/TitleImageCache.h"

#include <algorithm>

#include <QFont>
#include <QPainter>
#include <QPen>

namespace {

struct OverlayStyle {
    QPen framePen{QColor(0, 128, 0), 1};
    QPen selectionPen{QColor(255, 0, 0), 3};
    QPen alarmPen{QColor(0, 255, 0), 12};
    QPen bandPen{QColor(0, 255, 255), 2};
    QBrush blankBrush{QColor(1, 1, 1)};
    QColor dim{0, 0, 0, 150};
    QColor noSignal{255, 64, 64};
    QColor notice{255, 255, 255};
    QColor line1{0, 255, 0};
    QColor line2{255, 255, 0};
    QFont titleFont;

    OverlayStyle()
    {
        titleFont.setFamily("MS Reference Sans Serif");
        titleFont.setPixelSize(16);
        titleFont.setWeight(QFont::Normal);
        for (QPen* pen : {&framePen, &selectionPen, &alarmPen, &bandPen})
            pen->setJoinStyle(Qt::MiterJoin);
    }
};

// Made on first use, when the application's font database exists; kept for the process.
const OverlayStyle& Style()
{
    static const OverlayStyle style;
    return style;
}

// The pane's edge as a square-cornered rectangle stroked with `pen` along
// its outermost pixels would look, with the outer half clipped away: four
// fills, several times cheaper than stroking on every repaint.
void Outline(QPainter& p, const QPen& pen, int w, int h)
{
    const int width = std::max(pen.width(), 1);
    const int nearSide = (width + 1) / 2;  // left and top
    const int farSide = width / 2 + 1;     // right and bottom
    const QColor colour = pen.color();
    p.fillRect(QRect(0, 0, w, nearSide), colour);
    p.fillRect(QRect(0, h - farSide, w, farSide), colour);
    p.fillRect(QRect(0, 0, nearSide, h), colour);
    p.fillRect(QRect(w - farSide, 0, farSide, h), colour);
}

void Blank(QPainter& p, int w, int h)
{
    p.fillRect(QRect(0, 0, w, h), Style().blankBrush);
    Outline(p, Style().framePen, w, h);
}

// Made on first use, after the style; sixteen panes show at most four title lines each.
TitleImageCache& TitleImages()
{
    static TitleImageCache cache(Style().titleFont, 4 * OverlayState::kChannels);
    return cache;
}

void MotionGrid(QPainter& p, const OverlayState& o, int channel)
{
    const float cw = o.cellWidth;
    const float ch = o.cellHeight;
    p.setPen(Style().framePen);
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= OverlayState::kGridRows; ++i)
        p.drawLine(QPointF(0, i * ch), QPointF(OverlayState::kGridColumns * cw, i * ch));
    for (int i = 1; i <= OverlayState::kGridColumns; ++i)
        p.drawLine(QPointF(i * cw, 0), QPointF(i * cw, OverlayState::kGridRows * ch));
    for (int r = 0; r < OverlayState::kGridRows; ++r) {
        for (int c = 0; c < OverlayState::kGridColumns; ++c) {
            if (!((o.motionGrid[channel][r] >> c) & 1u))
                continue;
            const QRectF cell(c * cw, r * ch, cw, ch);
            p.drawRect(cell);
            p.drawLine(cell.topLeft(), cell.bottomRight());
            p.drawLine(cell.topRight(), cell.bottomLeft());
        }
    }
}

void Titles(QPainter& p, const OverlayState& o, int channel, int w, bool twoCameras)
{
    TitleImageCache& images = TitleImages();
    const auto& titles = o.titles[channel];
    images.Draw(p, 5, 5, titles[0], Style().line1);
    if (!twoCameras) {
        images.Draw(p, 5, 20, titles[1], Style().line2);
        return;
    }
    const int right = w / 2 + 6;
    images.Draw(p, right, 5, titles[0], Style().line1);
    images.Draw(p, 5, 20, LeftCameraLabel(titles[1]), Style().line2);
    images.Draw(p, right, 20, RightCameraLabel(titles[1]), Style().line2);
}

// A pane whose picture stopped: the last picture dimmed, "NO SIGNAL" and the
// time of that picture in the middle, the session's notice below.
void NoSignal(QPainter& p, const OverlayState& o, int channel, int w, int h)
{
    const OverlayStyle& s = Style();
    const bool stale = (o.noSignalMask >> channel) & 1u;
    const std::string& notice = o.sessionNotice[channel];
    if (!stale && notice.empty())
        return;
    p.fillRect(QRect(0, 0, w, h), s.dim);
    p.setFont(s.titleFont);
    const int line = 20;
    int y = h / 2 - line;
    if (stale) {
        p.setPen(s.noSignal);
        p.drawText(QRect(0, y, w, line), Qt::AlignCenter, QStringLiteral("NO SIGNAL"));
        y += line;
        p.setPen(s.notice);
        p.drawText(QRect(0, y, w, line), Qt::AlignCenter, QString::fromStdString(o.lastPictureTime[channel]));
        y += line;
    }
    if (!notice.empty()) {
        p.setPen(s.notice);
        p.drawText(QRect(0, y, w, line), Qt::AlignCenter, QString::fromStdString(notice));
    }
}

void DrawOverlay(int channel, QPainter* p, void* context, OverlayVariant variant)
{
    auto* overlay = static_cast<OverlayState*>(context);
    if (p == nullptr || overlay == nullptr || channel < 0 || channel >= OverlayState::kChannels)
        return;
    const OverlayStyle& s = Style();
    std::lock_guard guard(overlay->lock);
    const OverlayState& o = *overlay;
    const PaneRect pane = o.paneRect[channel];
    const int w = pane.Width();
    const int h = pane.Height();
    if (pane.IsHidden() || w <= 0 || h <= 0)
        return;

    p->save();
    p->setBackgroundMode(Qt::TransparentMode);
    if (o.dragging && channel == o.selectedChannel) {
        p->setPen(s.bandPen);
        p->setBrush(Qt::NoBrush);
        const PaneRect& band = o.dragRect;
        p->drawRect(QRect(QPoint(band.left, band.top), QPoint(band.right, band.bottom)).normalized());
    }
    Outline(*p, s.framePen, w, h);
    if (variant.twoCameras) {
        p->setPen(s.framePen);
        p->drawLine(w / 2, 0, w / 2, h);
    }

    if (o.motionGridMode && channel == o.motionGridChannel) {
        MotionGrid(*p, o, channel);
    } else if (o.liveMask == 0 || !o.IsLive(channel)) {
        // Nothing is drawn on a pane that shows no live camera.
        Blank(*p, w, h);
    } else {
        if (!o.blankingDone)
            p->fillRect(QRect(0, 0, w, h), s.blankBrush);
        NoSignal(*p, o, channel, w, h);
        if (variant.titles)
            Titles(*p, o, channel, w, variant.twoCameras);
        if (channel == o.selectedChannel)
            Outline(*p, s.selectionPen, w, h);
    }
    if (variant.alarm && ((o.alarmMask >> channel) & 1u))
        Outline(*p, s.alarmPen, w, h);
    p->restore();
}

template <bool TwoCameras, bool WithTitles, bool Alarm>
void Render(int channel, QPainter* dc, void*, void*, void* context)
{
    DrawOverlay(channel, dc, context, OverlayVariant{TwoCameras, WithTitles, Alarm});
}

} // namespace

MP4MUL_RenderCallback OverlayCallback(OverlayVariant v)
{
    static constexpr MP4MUL_RenderCallback table[2][2][2] = {
        {{Render<false, false, false>, Render<false, false, true>},
         {Render<false, true, false>, Render<false, true, true>}},
        {{Render<true, false, false>, Render<true, false, true>},
         {Render<true, true, false>, Render<true, true, true>}},
    };
    return table[v.twoCameras][v.titles][v.alarm];
}

void InstallOverlay(CMPEG4MultiDecoder& decoder, OverlayState& overlay, OverlayVariant variant)
{
    decoder.SetRenderCallback(nullptr, nullptr);
    decoder.SetRenderCallback(OverlayCallback(variant), &overlay);
}
