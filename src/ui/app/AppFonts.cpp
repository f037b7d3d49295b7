#include "ui/app/AppFonts.h"

#include <QFontDatabase>

namespace {

QFont& largeFont()
{
    static QFont font;
    return font;
}

QFont& smallFont()
{
    static QFont font;
    return font;
}

QFont sized(QFont font, int pixelHeight)
{
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

void AppFonts::Create(const QString& languagePackFile)
{
    QFont base;
    int large = 15;
    int small = 14;
    if (languagePackFile == "ResJp.dll") {
        base = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        large = 14;
        small = 12;
    } else {
        base = QFont("Arial");
        base.setStyleHint(QFont::SansSerif);
    }
    base.setWeight(QFont::Normal);
    base.setItalic(false);
    base.setUnderline(false);
    base.setStrikeOut(false);
    largeFont() = sized(base, large);
    smallFont() = sized(base, small);
}

const QFont& AppFonts::Large()
{
    return largeFont();
}

const QFont& AppFonts::Small()
{
    return smallFont();
}
