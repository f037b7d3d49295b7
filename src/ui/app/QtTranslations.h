#pragma once

// Qt's own texts (the buttons of message boxes, the file and print dialogs)
// in the user-interface language: Chinese for index 1, Japanese for index 2,
// Qt's English otherwise. Returns false when the language's translation is
// not installed; the English texts then stay.
bool InstallQtTranslations(int languageIndex);
