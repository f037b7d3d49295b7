#pragma once

#include <string>

// What the program reads from the configuration store when it starts.
struct StartupSettings {
    int language = 0; // the stored index as read, also when it names no pack
    int boot = 0;
};

// Reads Language and Boot under Software\DVR\, first creating the key with
// Language = 0 and Boot = 0 when the key or its Language value is missing.
StartupSettings ReadStartupSettings();

// The language pack file for a language index: 0 English, 1 Chinese,
// 2 Japanese; any other index falls back to English.
std::string LanguagePackFileName(int languageIndex);
