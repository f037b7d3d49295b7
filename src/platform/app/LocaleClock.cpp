#include "platform/app/LocaleClock.h"

#include <langinfo.h>
#include <locale.h>

namespace {

locale_t openLocale(const std::string& name)
{
    if (locale_t loc = newlocale(LC_TIME_MASK, name.c_str(), locale_t(0)))
        return loc;
    return newlocale(LC_TIME_MASK, "C", locale_t(0));
}

} // namespace

LocaleClock::LocaleClock(const std::string& localeName)
    : m_locale(openLocale(localeName))
{
}

LocaleClock::~LocaleClock()
{
    if (m_locale)
        freelocale(static_cast<locale_t>(m_locale));
}

std::string LocaleClock::format(const char* pattern, std::time_t when) const
{
    std::tm local {};
    localtime_r(&when, &local);
    char text[64]; // time texts are bounded to 64 characters
    std::size_t n = m_locale ? strftime_l(text, sizeof text, pattern, &local, static_cast<locale_t>(m_locale))
                             : strftime(text, sizeof text, pattern, &local);
    return std::string(text, n);
}

std::string LocaleClock::ShortDate(std::time_t when) const
{
    const char* pattern = m_locale ? nl_langinfo_l(D_FMT, static_cast<locale_t>(m_locale)) : "%x";
    return format(pattern, when);
}

std::string LocaleClock::Time(std::time_t when) const
{
    const char* pattern = m_locale ? nl_langinfo_l(T_FMT, static_cast<locale_t>(m_locale)) : "%X";
    return format(pattern, when);
}
