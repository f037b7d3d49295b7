#include "support/QtTestApp.h"
#include "ui/controls/CtrlId.h"
#include "ui/servers/CLoginDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class LoginDlgTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQApplication(); }

    CredentialsSink sink()
    {
        return [this](const std::string& id, const std::string& password) { m_handed.push_back(id + "/" + password); };
    }
    static QLineEdit* password(CLoginDlg& d) { return FindCtrl<QLineEdit>(&d, CLoginDlg::kPasswordEdit); }
    static QPushButton* ok(CLoginDlg& d) { return FindCtrl<QPushButton>(&d, CLoginDlg::kOkButton); }

    std::vector<std::string> m_handed;
};

} // namespace

TEST_F(LoginDlgTest, OnlyTheRecordersExactPasswordConfirmsAndEmptyNeverDoes)
{
    struct Case {
        const char* stored;
        const char* typed;
        QDialog::DialogCode result;
    };
    for (const Case& c : {Case{"Ab12cd34", "Ab12cd349", QDialog::Accepted}, Case{"Ab12cd34", "ab12cd34", QDialog::Rejected},
                          Case{"", "", QDialog::Rejected}, Case{"5829", "582", QDialog::Rejected}}) {
        CLoginDlg dialog(c.stored, sink());
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Password Protection");
        EXPECT_FALSE(FindCtrl<QLineEdit>(&dialog, CLoginDlg::kIdEdit)->isVisible());
        QTest::keyClicks(password(dialog), c.typed);  // a ninth character is not taken
        ok(dialog)->click();
        EXPECT_EQ(dialog.result(), c.result) << "stored '" << c.stored << "', typed '" << c.typed << "'";
        EXPECT_TRUE(password(dialog)->text().isEmpty()) << "nothing kept after the dialog ends";
    }
    EXPECT_EQ(m_handed, (std::vector<std::string>{"/Ab12cd34", "/ab12cd34", "/", "/582"}));
}

TEST_F(LoginDlgTest, EnterMovesFromPasswordToOkAndOnlyThenChecks)
{
    CLoginDlg dialog("5829", sink());
    dialog.show();
    QTest::keyClicks(password(dialog), "5829");
    QTest::keyClick(password(dialog), Qt::Key_Return);
    QTest::keyClick(&dialog, Qt::Key_Enter);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), ok(dialog));
    EXPECT_TRUE(m_handed.empty());

    QTest::keyClick(ok(dialog), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
