#pragma once

#include <ctime>
#include <string>

// Date and time texts in a locale's own short formats (the system's by default).
class LocaleClock {
public:
    // "" takes the locale from the environment; an unknown name falls back to "C".
    explicit LocaleClock(const std::string& localeName = "");
    ~LocaleClock();
    LocaleClock(const LocaleClock&) = delete;
    LocaleClock& operator=(const LocaleClock&) = delete;

    std::string ShortDate(std::time_t when) const;
    std::string Time(std::time_t when) const;

private:
    std::string format(const char* pattern, std::time_t when) const;

    void* m_locale; // locale_t, kept opaque to spare users <locale.h>
};
