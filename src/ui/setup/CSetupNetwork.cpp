#include "ui/setup/CSetupNetwork.h"

#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsLists.h"
#include "core/setup/SettingsFieldCheck.h"
#include "core/setup/SetupFieldLimits.h"
#include "core/setup/SetupSectionCopies.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CIpAddressEdit.h"
#include "ui/controls/CNumericEdit.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SetupSession.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace setupui;

namespace {

constexpr int kRowHeight = 26;
constexpr int kRowStep = 40;
constexpr int kFirstRowY = 90;
constexpr int kLeftLabelX = 20;
constexpr int kLeftControlX = 140;
constexpr int kRightLabelX = 400;
constexpr int kRightControlX = 560;
constexpr int kControlWidth = 200;

QRect Row(int x, int row, int width)
{
    return {x, kFirstRowY + row * kRowStep, width, kRowHeight};
}

} // namespace

CSetupNetwork::CSetupNetwork(SetupSession& session, SetupSectionCopies& copies, QWidget* parent)
    : CSetupPage(session, copies, parent)
{
    for (int k = 0; k < NetworkPageFields::kEventButtons; ++k)
        m_events[static_cast<std::size_t>(k)] =
            CheckButton(this, kAllEvents + k, kEventMailNames[k], QRect(20 + k * 84, 30, 78, 30));
    connect(m_events[0], &QPushButton::clicked, this, &CSetupNetwork::onAllClicked);

    Label(this, "Port", Row(kLeftLabelX, 0, 110));
    m_port = Placed(new CNumericEdit(this), kPort, "Port", Row(kLeftControlX, 0, 120));
    m_port->SetRange(kPortRange.low, kPortRange.high);
    const char* addressLabels[] = {"IP", "Gateway", "Subnetmask", "DNS", "SMTP_IP"};
    const int addressIds[] = {kIp, kGateway, kSubnetMask, kDns, kSmtp};
    for (std::size_t i = 0; i < m_addresses.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        Label(this, addressLabels[i], Row(kLeftLabelX, row, 110));
        m_addresses[i] =
            Placed(new CIpAddressEdit(this), addressIds[i], addressLabels[i], Row(kLeftControlX, row, kControlWidth));
    }

    auto text = [this](int id, const QString& label, std::size_t length, int row) {
        Label(this, label, Row(kRightLabelX, row, 150));
        return Edit(this, id, label, static_cast<int>(length), Row(kRightControlX, row, kControlWidth));
    };
    m_mailServerId = text(kMailServerId, "e-Mail Server ID", kMailServerIdLength, 0);
    m_mailServerPassword = text(kMailServerPassword, "e-Mail Server Password", kMailServerPasswordLength, 1);
    m_dvrName = text(kDvrName, "DVR Name", kDvrNameLength, 2);
    m_mailSender = text(kMailSender, "e-Mail Sender", kMailSenderLength, 3);
    m_mailReceiver = text(kMailReceiver, "e-Mail receiver", kMailReceiverLength, 4);
    Label(this, "Mail Server CFM", Row(kRightLabelX, 5, 150));
    m_confirm = DropList(this, kConfirm, "Mail Server CFM", {"NOT", "YES"}, Row(kRightControlX, 5, 120));

    connect(Button(this, kPreValue, "Pre-Value", QRect(430, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupNetwork::PreValue);
    connect(Button(this, kDefault, "Default", QRect(540, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupNetwork::Default);
    connect(Button(this, kSend, "Send", QRect(650, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupNetwork::Send);
}

void CSetupNetwork::Show(const NetworkPageFields& f)
{
    for (std::size_t k = 0; k < m_events.size(); ++k)
        m_events[k]->setChecked(f.events[k]);
    m_port->SetValue(f.port);
    for (std::size_t i = 0; i < m_addresses.size(); ++i)
        m_addresses[i]->SetAddress(f.addresses[i]);
    m_mailServerId->setText(QString::fromLatin1(f.mailServerId));
    m_mailServerPassword->setText(QString::fromLatin1(f.mailServerPassword));
    m_dvrName->setText(QString::fromLatin1(f.dvrName));
    m_mailSender->setText(QString::fromLatin1(f.mailSender));
    m_mailReceiver->setText(QString::fromLatin1(f.mailReceiver));
    m_confirm->setCurrentIndex(f.confirmPosition);
}

NetworkPageFields CSetupNetwork::Shown() const
{
    NetworkPageFields f;
    for (std::size_t k = 0; k < m_events.size(); ++k)
        f.events[k] = m_events[k]->isChecked();
    f.port = m_port->Value();
    for (std::size_t i = 0; i < m_addresses.size(); ++i)
        f.addresses[i] = m_addresses[i]->Address();
    f.mailServerId = m_mailServerId->text().toLatin1().toStdString();
    f.mailServerPassword = m_mailServerPassword->text().toLatin1().toStdString();
    f.dvrName = m_dvrName->text().toLatin1().toStdString();
    f.mailSender = m_mailSender->text().toLatin1().toStdString();
    f.mailReceiver = m_mailReceiver->text().toLatin1().toStdString();
    f.confirmPosition = m_confirm->currentIndex();
    return f;
}

void CSetupNetwork::Fill()
{
    Show(FillNetworkPage(m_copies.working.network));
}

void CSetupNetwork::PreValue()
{
    m_copies.RestoreBaseline(kSectionNetwork);
    Fill();
}

void CSetupNetwork::Default()
{
    NetworkPageFields f = Shown();
    SetNetworkPageDefaults(f);
    Show(f);
}

void CSetupNetwork::Send()
{
    ZERD_INFO_BLK stored = m_copies.working;
    StoreNetworkPage(Shown(), stored.network);
    if (const auto problem = CheckSettingsSection(stored, kSectionNetwork)) {
        DvrMessageBox(this, QString::fromStdString(problem->Line()), "DVR", QMessageBox::Warning);
        return;
    }
    m_copies.working.network = stored.network;
    m_session.WriteSection(m_copies, kSectionNetwork);
}

void CSetupNetwork::onAllClicked(bool checked)
{
    NetworkPageFields f = Shown();
    ApplyAllEventsButton(f, checked, m_copies.working.network);
    Show(f);
}
