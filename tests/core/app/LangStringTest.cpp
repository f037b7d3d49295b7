#include "core/app/LangString.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

LanguagePack PackOf(std::string_view text)
{
    std::string error;
    std::optional<LanguagePack> pack = LanguagePack::Parse(text, &error);
    EXPECT_TRUE(pack.has_value()) << error;
    return pack.value_or(LanguagePack());
}

// The loaded pack is process-wide: every test leaves none loaded.
class LangString : public ::testing::Test {
protected:
    void TearDown() override { SetLanguagePack(std::nullopt); }
};

TEST_F(LangString, WithoutAPackEveryTextIsEmpty)
{
    EXPECT_FALSE(HasLanguagePack());
    EXPECT_EQ(LoadLangString(6022), "");
    EXPECT_EQ(FormatLangString(9001, {"/tmp/x"}), "");
}

TEST_F(LangString, LooksUpTheLoadedPackAndForgetsItWhenCleared)
{
    SetLanguagePack(PackOf("6022\tThe password is wrong.\n"));
    EXPECT_TRUE(HasLanguagePack());
    EXPECT_EQ(LoadLangString(6022), "The password is wrong.");
    EXPECT_EQ(LoadLangString(6023), "");

    SetLanguagePack(PackOf("6022\t密码错误。\n"));
    EXPECT_EQ(LoadLangString(6022), "密码错误。");

    SetLanguagePack(std::nullopt);
    EXPECT_FALSE(HasLanguagePack());
    EXPECT_EQ(LoadLangString(6022), "");
}

TEST_F(LangString, FormatFillsFieldsInOrderWithoutPrintf)
{
    SetLanguagePack(PackOf("1\tMoved to %s; %d left, 100%% sure\n"
                           "2\tNo fields at all\n"
                           "3\t%s and %s and %d\n"
                           "4\tKept: %n %x %5s %\n"));
    EXPECT_EQ(FormatLangString(1, {"/home/a/registry.db.bad", "3"}), "Moved to /home/a/registry.db.bad; 3 left, 100% sure");
    EXPECT_EQ(FormatLangString(2, {"surplus"}), "No fields at all");
    // A pack with more fields than the code passes must not read past the
    // arguments (as printf would): the missing ones stay empty.
    EXPECT_EQ(FormatLangString(3, {"one"}), "one and  and ");
    EXPECT_EQ(FormatLangString(4, {"a", "b"}), "Kept: %n %x %5s %");
    EXPECT_EQ(FormatLangString(5, {"a"}), "");
}

TEST_F(LangString, ReadersOnOtherThreadsSeeWholePacksWhileItIsReplaced)
{
    const LanguagePack english = PackOf("6028\tThe recorder stopped answering.\n");
    const LanguagePack chinese = PackOf("6028\t录像机已停止响应。\n");
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 2; ++i)
        readers.emplace_back([&] {
            for (int n = 0; n < 200000 && !stop; ++n) {
                const std::string text = LoadLangString(6028);
                if (!text.empty() && text != *english.Find(6028) && text != *chinese.Find(6028))
                    ++torn;
            }
        });
    for (int n = 0; n < 2000; ++n) {
        SetLanguagePack(n % 3 == 0 ? std::nullopt : std::optional(n % 2 ? english : chinese));
    }
    stop = true;
    for (auto& reader : readers)
        reader.join();
    EXPECT_EQ(torn.load(), 0);
}

} // namespace
