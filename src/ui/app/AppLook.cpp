#include "ui/app/AppLook.h"

#include "core/look/ColourContrast.h"
#include "core/viewer/MainWindowControlTable.h"
#include "platform/skin/SkinSheet.h"
#include "ui/skin/CSkinEngine.h"
#include "ui/skin/SkinElements.h"

#include <QApplication>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>

namespace {

const QColor kDefaultWindow(0x1b, 0x1d, 0x22);
const QColor kDefaultText(0xc8, 0xcc, 0xd4);
const QColor kDefaultAccent(0x4f, 0x9d, 0xe8);
const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};

Rgb ToRgb(const QColor& colour)
{
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

QColor ToQColor(Rgb colour)
{
    return QColor(colour.r, colour.g, colour.b);
}

QColor Mix(const QColor& from, const QColor& to, double amount)
{
    return ToQColor(MixColours(ToRgb(from), ToRgb(to), amount));
}

QColor Readable(const QColor& text, const QColor& background)
{
    return ToQColor(WithContrast(ToRgb(text), ToRgb(background)));
}

// An opaque colour that a rule for `selector` declares for `property`;
// invalid when none does.
QColor DeclaredColour(const SkinSheet& sheet, const QString& selector, const QString& property)
{
    const QRegularExpression declaration("(?:^|\\s)" + QRegularExpression::escape(property) + ":\\s*([^;]+);");
    for (const SkinRule& rule : sheet.rules) {
        if (!rule.selectors.contains(selector))
            continue;
        const QRegularExpressionMatch match = declaration.match(rule.body);
        if (match.hasMatch()) {
            const QColor colour = QColor::fromString(match.captured(1).trimmed());
            if (colour.isValid() && colour.alpha() == 255)
                return colour;
        }
    }
    return {};
}

void SetGroup(QPalette& palette, QPalette::ColorGroup group, const QColor& window, const QColor& text,
              const QColor& base, const QColor& button, const QColor& highlight)
{
    const QColor highlightedText = ContrastRatio(kWhite, ToRgb(highlight)) >= ContrastRatio(kBlack, ToRgb(highlight))
                                       ? QColor(Qt::white)
                                       : QColor(Qt::black);
    palette.setColor(group, QPalette::Window, window);
    palette.setColor(group, QPalette::WindowText, Readable(text, window));
    palette.setColor(group, QPalette::Base, base);
    palette.setColor(group, QPalette::AlternateBase, Mix(base, window, 0.6));
    palette.setColor(group, QPalette::Text, Readable(Readable(text, base), Mix(base, window, 0.6)));
    palette.setColor(group, QPalette::PlaceholderText, Readable(Mix(text, base, 0.35), base));
    // Styles shade buttons up to their light colour under the text.
    const QColor buttonLight = Mix(button, Qt::white, 0.15);
    palette.setColor(group, QPalette::Button, button);
    palette.setColor(group, QPalette::ButtonText, Readable(text, buttonLight));
    palette.setColor(group, QPalette::BrightText, Readable(QColor(0xff, 0x6b, 0x6b), window));
    palette.setColor(group, QPalette::Highlight, highlight);
    palette.setColor(group, QPalette::HighlightedText, Readable(highlightedText, highlight));
    palette.setColor(group, QPalette::ToolTipBase, button);
    palette.setColor(group, QPalette::ToolTipText, Readable(text, button));
    palette.setColor(group, QPalette::Light, buttonLight);
    palette.setColor(group, QPalette::Midlight, Mix(button, Qt::white, 0.07));
    palette.setColor(group, QPalette::Mid, Mix(window, Qt::black, 0.3));
    palette.setColor(group, QPalette::Dark, Mix(window, Qt::black, 0.5));
    palette.setColor(group, QPalette::Shadow, Qt::black);
}

} // namespace

LookColours AppLook::ColoursFromSkin(const SkinSheet& sheet)
{
    const QString background = QStringLiteral("#") + QLatin1String(MainWindowBackgroundElement());
    LookColours colours{DeclaredColour(sheet, background, "background-color"),
                        DeclaredColour(sheet, background, "color"),
                        DeclaredColour(sheet, "#m_btn_Video_1:checked", "background-color")};
    // Only a dark background makes a dark look; a light one would bring back
    // dialogs that clash with the skinned windows.
    if (!colours.window.isValid() || RelativeLuminance(ToRgb(colours.window)) > 0.05)
        colours.window = kDefaultWindow;
    if (!colours.text.isValid() || ContrastRatio(ToRgb(colours.text), ToRgb(colours.window)) < kMinimumTextContrast)
        colours.text = kDefaultText;
    if (!colours.accent.isValid())
        colours.accent = kDefaultAccent;
    return colours;
}

QPalette AppLook::Palette(const LookColours& colours)
{
    const QColor& window = colours.window;
    const QColor base = Mix(window, Qt::black, 0.3);
    const QColor button = Mix(window, colours.text, 0.12);
    // The accent darkened until white text on it reads.
    const QColor highlight = Readable(colours.accent, Qt::white);
    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        SetGroup(palette, group, window, colours.text, base, button, highlight);
    // Disabled text is dimmer, yet still readable.
    SetGroup(palette, QPalette::Disabled, window, Mix(colours.text, window, 0.4), window, Mix(button, window, 0.5),
             Mix(highlight, window, 0.5));
    palette.setColor(QPalette::Link, Readable(Mix(colours.accent, Qt::white, 0.2), base));
    palette.setColor(QPalette::LinkVisited, Readable(Mix(colours.accent, colours.text, 0.5), base));
    return palette;
}

void AppLook::Apply(int languageIndex)
{
    CSkinEngine skin;
    skin.Load(SkinFileForLanguage(languageIndex));
    Apply(ColoursFromSkin(skin.Sheet()));
}

void AppLook::Apply(const LookColours& colours)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    const QPalette palette = Palette(colours);
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
}
