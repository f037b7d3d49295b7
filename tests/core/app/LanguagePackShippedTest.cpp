// Checks the language packs that are shipped beside the programs.
#include "core/app/LanguagePack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

const char* const PackNames[] = {"ResEn.dll", "ResCh.dll", "ResJp.dll"};

// Every string id the program's messages and status lines are defined with,
// plus 9001 (settings database replaced).
const std::set<int> ProgramIds = {
    6000, 6002, 6003, 6004, 6005, 6006, 6007, 6008, 6009, 6010, 6011, 6012, 6014, 6017,
    6021, 6022, 6023, 6024, 6025, 6026, 6027, 6028, 6032, 6033, 6034, 6035, 6036, 6040,
    6043, 6044, 6045, 6046, 6047, 6048, 6049, 6051, 7003, 7010, 7011, 7012, 7013, 7014,
    7015, 7016, 7017, 7018, 7019, 7020, 9001,
};

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

LanguagePack LoadShipped(const char* name)
{
    std::string error;
    std::optional<LanguagePack> pack =
        LanguagePack::LoadFile((std::filesystem::path(OMBREL_BIN_DIR) / name).string(), &error);
    EXPECT_TRUE(pack.has_value()) << error;
    return pack.value_or(LanguagePack());
}

std::set<int> IdsOf(const LanguagePack& pack)
{
    const std::vector<int> ids = pack.Ids();
    return {ids.begin(), ids.end()};
}

// The ids that the sources ask for with a literal number.
std::set<int> IdsAskedForInSources()
{
    const std::regex call(R"((?:LoadLangString|FormatLangString)\(\s*(\d+))");
    std::set<int> ids;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::filesystem::path(OMBREL_SOURCE_DIR) / "src")) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
            continue;
        const std::string source = ReadAll(entry.path());
        for (std::sregex_iterator it(source.begin(), source.end(), call), end; it != end; ++it)
            ids.insert(std::stoi((*it)[1].str()));
    }
    return ids;
}

// The printf-like fields of a text, in order ("%%" is no field).
std::vector<std::string> FieldsOf(const std::string& text)
{
    const std::regex field(R"(%(?:%|[-+ #0]*[0-9]*(?:\.[0-9]+)?[a-zA-Z]))");
    std::vector<std::string> fields;
    for (std::sregex_iterator it(text.begin(), text.end(), field), end; it != end; ++it)
        if (it->str() != "%%")
            fields.push_back(it->str());
    return fields;
}

TEST(ShippedLanguagePacks, AllParseAndHoldTheSameIds)
{
    const std::set<int> english = IdsOf(LoadShipped("ResEn.dll"));
    EXPECT_EQ(IdsOf(LoadShipped("ResCh.dll")), english);
    EXPECT_EQ(IdsOf(LoadShipped("ResJp.dll")), english);
}

TEST(ShippedLanguagePacks, HoldEveryIdTheProgramUses)
{
    std::set<int> wanted = ProgramIds;
    const std::set<int> asked = IdsAskedForInSources();
    wanted.insert(asked.begin(), asked.end());
    for (const char* name : PackNames) {
        const LanguagePack pack = LoadShipped(name);
        for (int id : wanted)
            EXPECT_NE(pack.Find(id), nullptr) << name << " lacks string id " << id;
    }
}

TEST(ShippedLanguagePacks, PrintfFieldsMatchEnglish)
{
    const LanguagePack english = LoadShipped("ResEn.dll");
    EXPECT_EQ(FieldsOf(*english.Find(9001)), std::vector<std::string>{"%s"});
    for (const char* name : {"ResCh.dll", "ResJp.dll"}) {
        const LanguagePack pack = LoadShipped(name);
        for (int id : english.Ids()) {
            const std::string* text = pack.Find(id);
            ASSERT_NE(text, nullptr) << name << " " << id;
            EXPECT_EQ(FieldsOf(*text), FieldsOf(*english.Find(id))) << name << " string id " << id;
        }
    }
}

TEST(ShippedLanguagePacks, TranslationsAreNotLeftInEnglish)
{
    for (const char* name : {"ResCh.dll", "ResJp.dll"}) {
        const LanguagePack pack = LoadShipped(name);
        for (int id : pack.Ids()) {
            const std::string& text = *pack.Find(id);
            const bool hasNonAscii = std::any_of(text.begin(), text.end(),
                                                 [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
            EXPECT_TRUE(hasNonAscii) << name << " string id " << id << " looks untranslated: " << text;
        }
    }
}

TEST(ShippedLanguagePacks, BuildCopiesMatchTheSources)
{
    for (const char* name : PackNames)
        EXPECT_EQ(ReadAll(std::filesystem::path(OMBREL_BIN_DIR) / name),
                  ReadAll(std::filesystem::path(OMBREL_SOURCE_DIR) / "resources/lang" / name))
            << name;
}

TEST(ShippedLanguagePacks, DocumentationListsEveryId)
{
    const std::string doc = ReadAll(std::filesystem::path(OMBREL_SOURCE_DIR) / "docs/language-packs.md");
    for (int id : LoadShipped("ResEn.dll").Ids())
        EXPECT_NE(doc.find("| " + std::to_string(id) + " |"), std::string::npos)
            << "docs/language-packs.md does not list string id " << id;
}

} // namespace
