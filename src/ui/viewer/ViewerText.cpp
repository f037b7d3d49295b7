#include "ui/viewer/ViewerText.h"

#include "core/app/LangString.h"

QString TextOf(const LangText& text)
{
    if (text.stringId == 0)
        return QString::fromStdString(text.fixed);
    const std::string words = LoadLangString(text.stringId);
    return words.empty() ? QString("[%1]").arg(text.stringId) : QString::fromStdString(words);
}
