#include "support/QtTestApp.h"
#include "ui/controls/CtrlId.h"
#include "ui/servers/CLoginDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Handed {
    std::vector<std::pair<std::string, std::string>> credentials;
    CredentialsSink sink()
    {
        return [this](const std::string& id, const std::string& password) { credentials.emplace_back(id, password); };
    }
};

class LoginDlgTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQApplication(); }

    QLineEdit* password(CLoginDlg& dialog) { return FindCtrl<QLineEdit>(&dialog, CLoginDlg::kPasswordEdit); }
    QPushButton* ok(CLoginDlg& dialog) { return FindCtrl<QPushButton>(&dialog, CLoginDlg::kOkButton); }

    Handed m_handed;
};

} // namespace

TEST_F(LoginDlgTest, MatchingPasswordConfirmsAndNothingIsKeptAfterwards)
{
    CLoginDlg dialog("Ab12cd34", m_handed.sink());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Password Protection");
    auto* id = FindCtrl<QLineEdit>(&dialog, CLoginDlg::kIdEdit);
    ASSERT_NE(id, nullptr);
    EXPECT_FALSE(id->isVisible());
    ASSERT_NE(password(dialog), nullptr);
    EXPECT_EQ(password(dialog)->echoMode(), QLineEdit::Password);

    QTest::keyClicks(password(dialog), "Ab12cd349");
    EXPECT_EQ(password(dialog)->text(), "Ab12cd34") << "the edit stops at eight characters";
    ok(dialog)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_handed.credentials, (std::vector<std::pair<std::string, std::string>>{{"", "Ab12cd34"}}));
    EXPECT_TRUE(password(dialog)->text().isEmpty());
}

TEST_F(LoginDlgTest, WrongOrEmptyPasswordCancels)
{
    struct Case {
        const char* stored;
        const char* typed;
    };
    for (const Case& c : {Case{"Ab12cd34", "ab12cd34"}, Case{"", ""}, Case{"5829", ""}, Case{"5829", "582"}}) {
        CLoginDlg dialog(c.stored, m_handed.sink());
        dialog.show();
        QTest::keyClicks(password(dialog), c.typed);
        ok(dialog)->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << "stored '" << c.stored << "', typed '" << c.typed << "'";
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(m_handed.credentials.size(), 4u) << "credentials are handed over on every check";
}

TEST_F(LoginDlgTest, EnterMovesFromPasswordToOkAndOnlyThenChecks)
{
    CLoginDlg dialog("5829", m_handed.sink());
    dialog.show();
    QTest::keyClicks(password(dialog), "5829");
    QTest::keyClick(password(dialog), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), ok(dialog));
    EXPECT_TRUE(m_handed.credentials.empty());

    QTest::keyClick(&dialog, Qt::Key_Enter);
    EXPECT_TRUE(dialog.isVisible()) << "Enter on the dialog itself confirms nothing";

    QTest::keyClick(ok(dialog), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_handed.credentials.size(), 1u);
}
