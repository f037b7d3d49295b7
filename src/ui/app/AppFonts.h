#pragma once

#include <QFont>
#include <QString>

// The two fonts every window shares, made once when the language pack loads.
class AppFonts {
public:
    // "Arial" at 15 and 14 pixels, or for the Japanese pack the system's
    // message font at 14 and 12.
    static void Create(const QString& languagePackFile);
    static const QFont& Large();
    static const QFont& Small();
};
