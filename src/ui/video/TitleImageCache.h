#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>

class QPainter;

// Pane titles drawn from pictures made once. Laying out a title and its
// eight-way shadow took nine text layouts per line on every repaint of every
// pane; here each distinct title (text, colour, device pixel ratio) is laid
// out once, shadow included, into a transparent image that later repaints
// only copy. The cache is bound to one font and holds at most `capacity`
// titles: a new one pushes out the one drawn longest ago. Any thread.
class TitleImageCache {
public:
    explicit TitleImageCache(const QFont& font, std::size_t capacity = 64);

    // Draws `text` (UTF-8) with its top-left at (x, y) in `colour`, on a dark
    // one-pixel shadow so it reads on any picture.
    void Draw(QPainter& painter, int x, int y, const std::string& text, const QColor& colour);

    std::size_t Size() const;

private:
    struct Key {
        std::string text;
        QRgb colour;
        qreal pixelRatio;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    struct Entry {
        QImage image;
        QPoint offset;  // image's top-left from the text's top-left
        std::uint64_t lastUse = 0;
    };

    Entry Render(const Key& key) const;
    void EvictOldest();

    const QFont m_font;
    const std::size_t m_capacity;

    // Guards m_entries and m_clock.
    mutable std::mutex m_lock;
    std::unordered_map<Key, Entry, KeyHash> m_entries;
    std::uint64_t m_clock = 0;
};
