#include "core/app/StartupSettings.h"

#include "core/config/RegConfig.h"

namespace {

constexpr const char* kDvrKey = "Software\\DVR\\";

StartupSettings writeFirstStartTree(CRegConfig& reg)
{
    reg.WriteInt("Language", 0);
    reg.WriteInt("Boot", 0);
    return {};
}

} // namespace

StartupSettings ReadStartupSettings()
{
    CRegConfig reg;
    if (!reg.SetKey(kDvrKey, false)) {
        reg.SetKey(kDvrKey, true);
        return writeFirstStartTree(reg);
    }
    if (!reg.ValueExists("Language"))
        return writeFirstStartTree(reg);
    StartupSettings settings;
    settings.language = reg.ReadInt("Language", 0);
    settings.boot = reg.ReadInt("Boot", 0);
    return settings;
}

std::string LanguagePackFileName(int languageIndex)
{
    switch (languageIndex) {
    case 1:
        return "ResCh.dll";
    case 2:
        return "ResJp.dll";
    default:
        return "ResEn.dll";
    }
}
