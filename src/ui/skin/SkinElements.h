#pragma once

#include <QString>
#include <QStringList>

// The skin file the main window loads for a user-interface language index:
// English, Chinese, Japanese, and English for any other index.
QString SkinFileForLanguage(int languageIndex);

// The second skin, loaded but given no elements.
inline QString SecondSkinFile()
{
    return QStringLiteral("darkgray.skn");
}

// Every element name a skin must style, spelled exactly as the windows use them.
const QStringList& SkinElementNames();
