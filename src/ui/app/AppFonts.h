#pragma once

#include <QFont>
#include <QString>

// The two fonts every window shares, made once when the language pack loads.
class AppFonts {
public:
    // "Arial" at 15 and 14 pixels, or for the Japanese pack the system's
    // message font at 14 and 12. For the Chinese and Japanese packs the
    // language's font draws what the first font has no glyphs for.
    static void Create(const QString& languagePackFile);
    // The font of every window that sets none: the system's, with the same
    // fallback for Chinese and Japanese, at a size their glyphs read at.
    static QFont ApplicationFont(const QString& languagePackFile);
    // `font` with the language's own font after it, for windows that keep a
    // font of their own yet show the language's texts.
    static QFont WithLanguageFallback(QFont font);
    static const QFont& Large();
    static const QFont& Small();
};
