#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dvr/ZerdInfoBlock.h"

// What the System page shows, control by control. A position of -1 selects
// nothing in its list.
struct SystemPageFields {
    std::vector<std::uint8_t> languageCodes;  // the language list, codes in list order
    int languagePosition = -1;
    std::string idText;
    int daylightSavingPosition = -1;          // "No", "Yes"
    int videoStandardPosition = -1;           // "NTSC", "PAL"
    std::string adminPassword;
    std::string guest0Password;
    std::string guest1Password;
    int mouseSensorPosition = -1;             // "Low", "Middle", "High"
    int alphablendPosition = -1;              // "1".."10"
    std::optional<std::string> dvrTypeName;   // nullopt: the field keeps its text
    bool operator==(const SystemPageFields&) const = default;
};

// The model names by type code 1..6 (the registry's, with the defaults).
using DvrTypeNames = std::array<std::string, 6>;

// A PAL recorder offers ENGLISH and CHINESE, any other ENGLISH, JAPANESE and
// KOREAN; the codes are the language codes of the block.
std::vector<std::uint8_t> LanguageListForStandard(std::uint8_t videoStandard);

// The page's controls from the section. A language missing from the list
// selects nothing; daylight saving above 1 shows "Yes", a standard above 1
// "NTSC"; a type code outside 1..6 leaves the type field as it was.
SystemPageFields FillSystemPage(const DvrSystemSection& section, const DvrTypeNames& typeNames);

// The controls into the section: nothing selected in the language list keeps
// the section's language; the ID is the trimmed text's value; each password
// is trimmed, the field zeroed and at most 8 characters copied in (the ninth
// byte stays 0). The type code and the unused bytes stay.
void StoreSystemPage(const SystemPageFields& fields, DvrSystemSection& section);

// The ID edit after a change: a value of 256 or more becomes "0".
std::string SystemIdEditText(const std::string& text);

// "Default": ENGLISH, ID 0, daylight saving Yes, NTSC, passwords "5829",
// mouse sensor Middle, alphablend 10. The list and type name stay as shown.
void SetSystemPageDefaults(SystemPageFields& fields);

// Leading and trailing blanks removed, as the pages trim their texts.
std::string TrimText(const std::string& text);
