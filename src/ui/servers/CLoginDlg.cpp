#include "ui/servers/CLoginDlg.h"

#include "core/servers/SetupAccess.h"
#include "ui/controls/CtrlId.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

bool IsEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

CLoginDlg::CLoginDlg(std::string dvrAdminPassword, CredentialsSink handCredentials, QWidget* parent)
    : QDialog(parent)
    , m_dvrAdminPassword(std::move(dvrAdminPassword))
    , m_handCredentials(std::move(handCredentials))
    , m_id(new QLineEdit(this))
    , m_password(new QLineEdit(this))
    , m_ok(new QPushButton("Ok", this))
{
    setWindowTitle("Password Protection");
    setProperty("dialogId", kDialogId);

    auto* idLabel = new QLabel("Admin ID :", this);
    auto* passwordLabel = new QLabel("Password :", this);
    SetCtrlId(m_id, kIdEdit);
    SetCtrlId(m_password, kPasswordEdit);
    SetCtrlId(m_ok, kOkButton);
    // The recorder has one administrator, so the identifier is never asked for.
    idLabel->hide();
    m_id->hide();
    for (QLineEdit* edit : {m_id, m_password}) {
        edit->setMaxLength(kMaxChars);
        edit->installEventFilter(this);
    }
    m_password->setEchoMode(QLineEdit::Password);
    // Enter is handled here, not by a default button.
    m_ok->setAutoDefault(false);
    m_ok->installEventFilter(this);
    connect(m_ok, &QPushButton::clicked, this, &CLoginDlg::check);

    auto* layout = new QGridLayout(this);
    layout->addWidget(idLabel, 0, 0);
    layout->addWidget(m_id, 0, 1);
    layout->addWidget(passwordLabel, 1, 0);
    layout->addWidget(m_password, 1, 1);
    layout->addWidget(m_ok, 2, 1, Qt::AlignRight);
    m_password->setFocus();
}

bool CLoginDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !IsEnter(static_cast<QKeyEvent*>(event)))
        return QDialog::eventFilter(watched, event);
    if (watched == m_id)
        m_password->setFocus();
    else if (watched == m_password)
        m_ok->setFocus();
    else if (watched == m_ok)
        check();
    return true;
}

void CLoginDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter anywhere else neither confirms nor closes.
    if (IsEnter(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CLoginDlg::check()
{
    const std::string id = m_id->text().toStdString();
    const std::string password = m_password->text().toStdString();
    if (m_handCredentials)
        m_handCredentials(id, password);
    if (SetupPasswordAccepted(password, m_dvrAdminPassword))
        accept();
    else
        reject();
}

void CLoginDlg::done(int result)
{
    m_id->clear();
    m_password->clear();
    QDialog::done(result);
}

bool ConfirmSetupPassword(QWidget* parent, const std::string& dvrAdminPassword, const CredentialsSink& handCredentials)
{
    CLoginDlg dialog(dvrAdminPassword, handCredentials, parent);
    return dialog.exec() == QDialog::Accepted;
}
