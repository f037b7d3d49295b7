#include "core/app/LanguagePack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Parses text that must be refused and returns the error.
std::string Refusal(std::string_view bytes)
{
    std::string error;
    EXPECT_FALSE(LanguagePack::Parse(bytes, &error).has_value()) << "accepted: " << bytes;
    EXPECT_FALSE(error.empty());
    return error;
}

LanguagePack Accepted(std::string_view bytes)
{
    std::string error;
    std::optional<LanguagePack> pack = LanguagePack::Parse(bytes, &error);
    EXPECT_TRUE(pack.has_value()) << error;
    return pack.value_or(LanguagePack());
}

std::string TextOf(const LanguagePack& pack, int id)
{
    const std::string* text = pack.Find(id);
    return text ? *text : "<missing>";
}

TEST(LanguagePack, FindsEachEntryAndListsIdsInOrder)
{
    const LanguagePack pack = Accepted("7003\tLive video stopped.\n0\tzero\n65535\ttop\n6000\tNone found\n");
    EXPECT_EQ(pack.Ids(), (std::vector<int>{0, 6000, 7003, 65535}));
    EXPECT_EQ(TextOf(pack, 7003), "Live video stopped.");
    EXPECT_EQ(TextOf(pack, 0), "zero");
    EXPECT_EQ(TextOf(pack, 65535), "top");
    EXPECT_EQ(pack.Find(6001), nullptr);
    EXPECT_EQ(pack.Find(-1), nullptr);
    EXPECT_EQ(pack.Find(70000), nullptr);
}

TEST(LanguagePack, TextKeepsWhatIsWrittenBesidesEscapesCommentsBomAndCrlf)
{
    const LanguagePack pack = Accepted("\xEF\xBB\xBF# header\r\n\r\n   \t \r\n1\t  # not a comment %s  \r\n"
                                       "#9\tnot an entry\n2\t密码错误。パスワード 😀\n"
                                       "3\tone\\ntwo\\tthree\\\\four\\\\n\n4\tlast line without newline");
    EXPECT_EQ(pack.Ids(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(TextOf(pack, 1), "  # not a comment %s  ");
    EXPECT_EQ(TextOf(pack, 2), "密码错误。パスワード 😀");
    EXPECT_EQ(TextOf(pack, 3), "one\ntwo\tthree\\four\\n");
    EXPECT_EQ(TextOf(pack, 4), "last line without newline");
}

TEST(LanguagePack, ErrorsNameTheLineOfTheFault)
{
    EXPECT_EQ(Refusal("# c\n1\tok\n\n2 no tab\n"), "line 4: no TAB between the string id and the text");
    EXPECT_EQ(Refusal("1\ta\n2\tb\n1\tc\n"), "line 3: string id 1 is already defined on line 1");
    EXPECT_EQ(Refusal("1\tok\r\n2\tbad \\q\r\n"), "line 2: unknown escape \\q (only \\n, \\t and \\\\ are known)");
}

TEST(LanguagePack, RefusesIdsThatAreNotPlainNumbersInRange)
{
    EXPECT_NE(Refusal("\ttext\n").find("does not start with a string id"), std::string::npos);
    for (const char* bad : {"-1", "+1", " 1", "1 ", "0x10", "０"}) // the last a full-width digit
        EXPECT_NE(Refusal(std::string(bad) + "\ttext\n").find("not a decimal number"), std::string::npos) << bad;
    EXPECT_NE(Refusal("06000\ttext\n").find("leading zero"), std::string::npos);
    EXPECT_NE(Refusal("65536\ttext\n").find("out of range 0..65535"), std::string::npos);
    EXPECT_NE(Refusal("99999999999999999999999\ttext\n").find("out of range"), std::string::npos);
}

TEST(LanguagePack, RefusesTextsThatAreEmptyOrHoldRawControls)
{
    EXPECT_EQ(Refusal("6000\t\n"), "line 1: string id 6000 has no text");
    EXPECT_NE(Refusal("1\ttwo\tcolumns\n").find("second TAB"), std::string::npos);
    EXPECT_NE(Refusal("1\tbell\a\n").find("control character 0x07"), std::string::npos);
    EXPECT_NE(Refusal("1\tdel\x7F\n").find("control character 0x7F"), std::string::npos);
    EXPECT_NE(Refusal(std::string_view("1\tnul\0here\n", 11)).find("control character 0x00"), std::string::npos);
    // A lone CR is not a line end: old Mac files must not merge into one text.
    EXPECT_NE(Refusal("1\tone\r2\ttwo\r").find("line 1:"), std::string::npos);
    EXPECT_NE(Refusal("1\tends in \\").find("lone backslash"), std::string::npos);
}

TEST(LanguagePack, RefusesInvalidUtf8AnywhereOnTheLine)
{
    EXPECT_EQ(Refusal("1\tok\n2\t\xC0\xAF overlong\n"), "line 2: invalid UTF-8");
    EXPECT_EQ(Refusal("1\t\xED\xA0\x80 surrogate\n"), "line 1: invalid UTF-8");
    EXPECT_EQ(Refusal("1\t\xF4\x90\x80\x80 above U+10FFFF\n"), "line 1: invalid UTF-8");
    EXPECT_EQ(Refusal("1\tcut \xE5\xAF"), "line 1: invalid UTF-8");
    EXPECT_EQ(Refusal("1\tlatin-1 \xE9t\xE9\n"), "line 1: invalid UTF-8");
    EXPECT_EQ(Refusal("# comment \xFF\n1\tok\n"), "line 1: invalid UTF-8");
    EXPECT_EQ(Refusal("\xFF\xFE" "1\0\t\0"), "line 1: the file is UTF-16; save it as UTF-8");
}

TEST(LanguagePack, RefusesEmptyAndOversizedPacks)
{
    EXPECT_EQ(Refusal(""), "the pack holds no strings");
    EXPECT_EQ(Refusal("\xEF\xBB\xBF# only a comment\n\n"), "the pack holds no strings");
    EXPECT_FALSE(LanguagePack::Parse("bad", nullptr).has_value()) << "the error output is optional";

    std::string bytes = "1\tok\n#";
    bytes.resize(LanguagePack::MaxFileBytes, 'x');
    EXPECT_EQ(Accepted(bytes).Ids(), std::vector<int>{1});
    bytes.push_back('x');
    EXPECT_EQ(Refusal(bytes), "the file is larger than 1048576 bytes");
}

class LanguagePackFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("ombrel-langpack-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::filesystem::path folder_;
};

TEST_F(LanguagePackFile, LoadsAFileAsParseDoesAndErrorsNameThePath)
{
    std::string error;
    const std::optional<LanguagePack> pack = LanguagePack::LoadFile(Write("ResEn.dll", "6022\tThe password is wrong.\r\n"), &error);
    ASSERT_TRUE(pack.has_value()) << error;
    EXPECT_EQ(*pack->Find(6022), "The password is wrong.");

    const std::string bad = Write("ResCh.dll", "1\tok\n2\t\n");
    EXPECT_FALSE(LanguagePack::LoadFile(bad, &error));
    EXPECT_EQ(error, bad + ": line 2: string id 2 has no text");

    const std::string missing = (folder_ / "ResJp.dll").string();
    EXPECT_FALSE(LanguagePack::LoadFile(missing, &error));
    EXPECT_EQ(error, missing + ": No such file or directory");
    EXPECT_FALSE(LanguagePack::LoadFile(missing, nullptr));
}

TEST_F(LanguagePackFile, RefusesOversizedFilesAndNonFilesWithoutHanging)
{
    std::string error;
    std::string big = "1\tok\n#";
    big.resize(LanguagePack::MaxFileBytes + 10, 'x');
    EXPECT_FALSE(LanguagePack::LoadFile(Write("big.dll", big), &error));
    EXPECT_NE(error.find("larger than 1048576 bytes"), std::string::npos) << error;

    // Endless devices and FIFOs without a writer are refused, not waited on.
    EXPECT_FALSE(LanguagePack::LoadFile("/dev/zero", &error));
    EXPECT_EQ(error, "/dev/zero: not a regular file");
    const std::string fifo = (folder_ / "ResEn.dll").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(LanguagePack::LoadFile(fifo, &error));
    EXPECT_EQ(error, fifo + ": not a regular file");
    EXPECT_FALSE(LanguagePack::LoadFile(folder_.string(), &error));
    EXPECT_EQ(error, folder_.string() + ": not a regular file");
}

} // namespace
