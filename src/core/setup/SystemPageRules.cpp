#include "core/setup/SystemPageRules.h"

#include <algorithm>
#include <cctype>

#include "core/dvr/FixedText.h"
#include "core/setup/SetupFieldLimits.h"

namespace {

constexpr std::uint8_t kEnglish = 0;
constexpr std::uint8_t kChinese = 1;
constexpr std::uint8_t kJapanese = 2;
constexpr std::uint8_t kKorean = 3;
constexpr std::uint8_t kPal = 1;
constexpr const char* kDefaultPassword = "5829";

int PositionOf(const std::vector<std::uint8_t>& codes, std::uint8_t code)
{
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

// value - 1 when it lies in 1..count, else nothing selected.
int OneBasedPosition(std::uint8_t value, int count)
{
    return value >= 1 && value <= count ? value - 1 : -1;
}

template <std::size_t N>
void StorePassword(char (&field)[N], const std::string& text)
{
    WriteFixedText(field, TrimText(text), kPasswordMaxLength);
}

} // namespace

std::string TrimText(const std::string& text)
{
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::vector<std::uint8_t> LanguageListForStandard(std::uint8_t videoStandard)
{
    if (videoStandard == kPal)
        return {kEnglish, kChinese};
    return {kEnglish, kJapanese, kKorean};
}

SystemPageFields FillSystemPage(const DvrSystemSection& section, const DvrTypeNames& typeNames)
{
    SystemPageFields f;
    f.languageCodes = LanguageListForStandard(section.videoStandard);
    f.languagePosition = PositionOf(f.languageCodes, section.language);
    f.idText = std::to_string(section.recorderId);
    f.daylightSavingPosition = section.daylightSaving >= 1 ? 1 : 0;
    f.videoStandardPosition = section.videoStandard == kPal ? 1 : 0;
    f.adminPassword = ReadFixedText(section.adminPassword);
    f.guest0Password = ReadFixedText(section.guest0Password);
    f.guest1Password = ReadFixedText(section.guest1Password);
    f.mouseSensorPosition = OneBasedPosition(section.mouseSensor, 3);
    f.alphablendPosition = OneBasedPosition(section.alphablend, 10);
    if (section.dvrTypeCode >= 1 && section.dvrTypeCode <= typeNames.size())
        f.dvrTypeName = typeNames[section.dvrTypeCode - 1];
    return f;
}

void StoreSystemPage(const SystemPageFields& f, DvrSystemSection& section)
{
    if (f.languagePosition >= 0 && static_cast<std::size_t>(f.languagePosition) < f.languageCodes.size())
        section.language = f.languageCodes[static_cast<std::size_t>(f.languagePosition)];
    const std::string id = TrimText(f.idText);
    unsigned value = 0;
    for (char c : id) {
        if (c < '0' || c > '9' || value > static_cast<unsigned>(kRecorderIdRange.high)) {
            value = 0;
            break;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    section.recorderId = static_cast<std::uint8_t>(kRecorderIdRange.Contains(value) ? value : 0);
    section.daylightSaving = static_cast<std::uint8_t>(std::max(f.daylightSavingPosition, 0));
    section.videoStandard = static_cast<std::uint8_t>(std::max(f.videoStandardPosition, 0));
    StorePassword(section.adminPassword, f.adminPassword);
    StorePassword(section.guest0Password, f.guest0Password);
    StorePassword(section.guest1Password, f.guest1Password);
    section.mouseSensor = static_cast<std::uint8_t>(f.mouseSensorPosition + 1);
    section.alphablend = static_cast<std::uint8_t>(f.alphablendPosition + 1);
}

std::string SystemIdEditText(const std::string& text)
{
    const std::string trimmed = TrimText(text);
    if (trimmed.empty() || !std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return text;
    // More digits than the edit holds is 256 or more too.
    if (trimmed.size() > kRecorderIdDigits || std::stoi(trimmed) > kRecorderIdRange.high)
        return "0";
    return text;
}

void SetSystemPageDefaults(SystemPageFields& f)
{
    f.languagePosition = PositionOf(f.languageCodes, kEnglish);
    f.idText = "0";
    f.daylightSavingPosition = 1;
    f.videoStandardPosition = 0;
    f.adminPassword = f.guest0Password = f.guest1Password = kDefaultPassword;
    f.mouseSensorPosition = 1;
    f.alphablendPosition = 9;
}
