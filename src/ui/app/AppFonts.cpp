#include "ui/app/AppFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <utility>

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

// Installed with the program's packages; it holds both Chinese and Japanese.
const QStringList kCjkFamilies{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                               QStringLiteral("Noto Sans CJK JP")};
constexpr int kCjkApplicationPixels = 13;

bool IsCjkPack(const QString& languagePackFile)
{
    return languagePackFile == "ResCh.dll" || languagePackFile == "ResJp.dll";
}

QFont WithCjkFallback(QFont font, const QString& languagePackFile)
{
    if (IsCjkPack(languagePackFile))
        font.setFamilies(QStringList{font.family()} + kCjkFamilies);
    return font;
}

QString& languagePack()
{
    static QString file;
    return file;
}

QFont sized(QFont font, int pixelHeight)
{
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

void AppFonts::Create(const QString& languagePackFile)
{
    languagePack() = languagePackFile;
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
    base = WithCjkFallback(base, languagePackFile);
    largeFont() = sized(base, large);
    smallFont() = sized(base, small);
}

QFont AppFonts::ApplicationFont(const QString& languagePackFile)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (!IsCjkPack(languagePackFile))
        return font;
    const QFontInfo shown(font);
    if (shown.pixelSize() < kCjkApplicationPixels)
        font.setPixelSize(kCjkApplicationPixels);
    return WithCjkFallback(font, languagePackFile);
}

QFont AppFonts::WithLanguageFallback(QFont font)
{
    return WithCjkFallback(std::move(font), languagePack());
}

const QFont& AppFonts::Large()
{
    return largeFont();
}

const QFont& AppFonts::Small()
{
    return smallFont();
}
