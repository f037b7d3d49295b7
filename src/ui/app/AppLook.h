#pragma once

#include <QColor>
#include <QPalette>
#include <QStringList>

struct SkinSheet;

// The colours one look is made of: the main window's background and text,
// and the accent of a chosen control.
struct LookColours {
    QColor window;
    QColor text;
    QColor accent;
};

// One look for every window of the program: the Fusion style with a dark
// palette taken from the skin's colours, so dialogs, message boxes, lists,
// menus and the file and print dialogs match the skinned main window. The
// skin still styles the windows it names.
class AppLook {
public:
    // The skin's main window background and text, and the background of a
    // checked channel button as the accent; a dark default for each colour
    // the skin does not give or gives unreadably.
    static LookColours ColoursFromSkin(const SkinSheet& sheet);

    // Every text role at least 4.5:1 against the background it is drawn on,
    // in every colour group, disabled included.
    static QPalette Palette(const LookColours& colours);

    // Gives the running application the style and the palette of the skin
    // that the language's main window loads.
    static void Apply(int languageIndex);
    static void Apply(const LookColours& colours);
};
