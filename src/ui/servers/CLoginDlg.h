#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

// Hands the typed identifier and password to the main window as the
// session credentials.
using CredentialsSink = std::function<void(const std::string& id, const std::string& password)>;

// Asks for the recorder's administrator password before remote setup and
// compares it with the one the recorder reported in its settings block.
// Accepted only on a match; keeps no password after it ends.
class CLoginDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 184;
    static constexpr int kIdEdit = 1225;
    static constexpr int kPasswordEdit = 1226;
    static constexpr int kOkButton = 1221;
    static constexpr int kMaxChars = 8;

    CLoginDlg(std::string dvrAdminPassword, CredentialsSink handCredentials, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void check();

    std::string m_dvrAdminPassword;
    CredentialsSink m_handCredentials;
    QLineEdit* m_id;
    QLineEdit* m_password;
    QPushButton* m_ok;
};

// Runs the log-in modally; true when the typed password matched. Button 222
// goes on into remote setup only then.
bool ConfirmSetupPassword(QWidget* parent, const std::string& dvrAdminPassword,
                          const CredentialsSink& handCredentials = {});
