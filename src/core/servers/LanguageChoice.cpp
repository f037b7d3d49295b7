#include "core/servers/LanguageChoice.h"

int LanguageListRow(int languageIndex)
{
    return languageIndex >= 0 && languageIndex < static_cast<int>(kLanguageNames.size()) ? languageIndex : -1;
}
