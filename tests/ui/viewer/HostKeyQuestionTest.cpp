// The operator's answer about a recorder's changed key, against a real settings database.
#include "core/servers/HostKeyPin.h"
#include "platform/registry/RegistryHostKeyPins.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/viewer/HostKeyQuestion.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace {

using Verdict = HostKeyVerifier::Verdict;

TEST(HostKeyQuestion, NamesBothKeysAndOnlyYesPinsTheNewOne)
{
    EnsureQApplication();
    TempDir dir;
    RegistryOpenResult store = OpenRegistryAt(dir / "registry.db");
    ASSERT_TRUE(store.backend) << store.error;
    RegistryHostKeyPins pins(store.backend);
    const std::string kept = "SHA256:" + std::string(64, 'c');
    const std::string shown = "SHA256:" + std::string(64, 'd');
    ASSERT_EQ(pins.Check("127.0.0.1", 7050, kept, nullptr), Verdict::Trusted);
    QWidget window;
    const HostKeyChange change{"127.0.0.1", 7050, kept, shown};
    ClearShownMessages();

    // No is the default: nothing changes.
    EXPECT_FALSE(AskTrustNewHostKey(&window, change, pins));
    ASSERT_EQ(ShownMessages().size(), 1u);
    const ShownMessage& question = ShownMessages().front();
    EXPECT_EQ(question.caption, "DVR");
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_TRUE(question.text.startsWith("The recorder at 127.0.0.1:7050 now shows another key.\n"));
    EXPECT_TRUE(question.text.contains("\nKept: " + QString::fromStdString(kept) + "\n"));
    EXPECT_TRUE(question.text.contains("\nShown: " + QString::fromStdString(shown) + "\n"));
    std::string pinned;
    EXPECT_EQ(pins.Check("127.0.0.1", 7050, shown, &pinned), Verdict::Changed);
    EXPECT_EQ(pinned, kept);

    AnswerNextMessageBoxes({QMessageBox::Yes});
    EXPECT_TRUE(AskTrustNewHostKey(&window, change, pins));
    EXPECT_EQ(pins.Check("127.0.0.1", 7050, shown, nullptr), Verdict::Trusted);
    EXPECT_EQ(pins.Check("127.0.0.1", 7050, kept, &pinned), Verdict::Changed);
    EXPECT_EQ(pinned, shown);
}

} // namespace
