#pragma once

#include <QString>

// The application: reads the language, loads its pack and the shared fonts,
// and runs the main window until it closes.
class COrlixApp {
public:
    // The whole start routine; returns the process exit status.
    int Run();

    int LanguageIndex() const { return m_languageIndex; }

    // Makes the two shared fonts and loads the pack from the install folder;
    // when the pack is missing or unreadable, says so and returns false.
    static bool LoadLanguagePack(const QString& fileName);

private:
    void openConfigurationStore();

    int m_languageIndex = 0;
    QString m_movedAsideStore; // where a damaged settings database was moved
};
