#include "ui/video/TitleImageCache.h"

#include <algorithm>
#include <functional>

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

namespace {

const QColor kShadow(1, 1, 1);
// One pixel of shadow on each side, one more for the edge smoothing.
constexpr int kMargin = 2;

} // namespace

TitleImageCache::TitleImageCache(const QFont& font, std::size_t capacity)
    : m_font(font), m_capacity(std::max<std::size_t>(capacity, 1))
{
}

std::size_t TitleImageCache::KeyHash::operator()(const Key& key) const
{
    std::size_t h = std::hash<std::string>{}(key.text);
    h ^= std::hash<QRgb>{}(key.colour) + 0x9e3779b9u + (h << 6) + (h >> 2);
    h ^= std::hash<qreal>{}(key.pixelRatio) + 0x9e3779b9u + (h << 6) + (h >> 2);
    return h;
}

void TitleImageCache::Draw(QPainter& painter, int x, int y, const std::string& text, const QColor& colour)
{
    if (text.empty())
        return;
    const QPaintDevice* device = painter.device();
    Key key{text, colour.rgba(), device ? device->devicePixelRatioF() : 1.0};
    QImage image;
    QPoint offset;
    {
        std::lock_guard guard(m_lock);
        auto found = m_entries.find(key);
        if (found == m_entries.end()) {
            if (m_entries.size() >= m_capacity)
                EvictOldest();
            Entry entry = Render(key);
            found = m_entries.emplace(std::move(key), std::move(entry)).first;
        }
        found->second.lastUse = ++m_clock;
        image = found->second.image;  // shared, not copied
        offset = found->second.offset;
    }
    painter.drawImage(QPoint(x, y) + offset, image);
}

std::size_t TitleImageCache::Size() const
{
    std::lock_guard guard(m_lock);
    return m_entries.size();
}

TitleImageCache::Entry TitleImageCache::Render(const Key& key) const
{
    const QString text = QString::fromStdString(key.text);
    const QFontMetrics metrics(m_font);
    // The text's top-left is at (0, 0), its baseline at the ascent. The ink
    // can reach past the advance (italic overhang, wide glyphs), so the
    // picture covers both.
    const QRect ink = metrics.boundingRect(text).translated(0, metrics.ascent());
    const QRect box = ink.united(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()))
                          .adjusted(-kMargin, -kMargin, kMargin, kMargin);

    Entry entry;
    entry.offset = box.topLeft();
    entry.image = QImage((QSizeF(box.size()) * key.pixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    entry.image.setDevicePixelRatio(key.pixelRatio);
    entry.image.fill(Qt::transparent);
    QPainter p(&entry.image);
    p.setFont(m_font);
    p.translate(-box.left(), -box.top() + metrics.ascent());
    p.setPen(kShadow);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                p.drawText(dx, dy, text);
    p.setPen(QColor::fromRgba(key.colour));
    p.drawText(0, 0, text);
    return entry;
}

void TitleImageCache::EvictOldest()
{
    const auto oldest = std::min_element(m_entries.begin(), m_entries.end(),
                                         [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
    m_entries.erase(oldest);
}
