#pragma once

#include "core/setup/NetworkPageRules.h"
#include "ui/setup/CSetupPage.h"

#include <array>

class CIpAddressEdit;
class CNumericEdit;
class QComboBox;
class QLineEdit;
class QPushButton;

// The Network page: the events that send mail, the port, five addresses,
// the mail server texts and its confirmation; it edits the network section.
class CSetupNetwork : public CSetupPage {
    Q_OBJECT
public:
    static constexpr int kAllEvents = 1141;  // 1142..1149 the eight events
    static constexpr int kPort = 1163;
    static constexpr int kIp = 1154;
    static constexpr int kGateway = 1155;
    static constexpr int kSubnetMask = 1160;
    static constexpr int kDns = 1161;
    static constexpr int kSmtp = 1162;
    static constexpr int kMailServerId = 1165;
    static constexpr int kMailServerPassword = 1063;
    static constexpr int kDvrName = 1168;
    static constexpr int kMailSender = 1171;
    static constexpr int kMailReceiver = 1172;
    static constexpr int kConfirm = 1174;
    static constexpr int kPreValue = 1035;
    static constexpr int kDefault = 1036;
    static constexpr int kSend = 228;

    CSetupNetwork(SetupSession& session, SetupSectionCopies& copies, QWidget* parent);

    void BeforeShow() override { Fill(); }

    void Fill();
    void PreValue();
    void Default();
    void Send();

private:
    NetworkPageFields Shown() const;
    void Show(const NetworkPageFields& fields);
    void onAllClicked(bool checked);

    std::array<QPushButton*, NetworkPageFields::kEventButtons> m_events{};
    CNumericEdit* m_port;
    std::array<CIpAddressEdit*, 5> m_addresses{};
    QLineEdit* m_mailServerId;
    QLineEdit* m_mailServerPassword;
    QLineEdit* m_dvrName;
    QLineEdit* m_mailSender;
    QLineEdit* m_mailReceiver;
    QComboBox* m_confirm;
};
