#pragma once

#include "core/setup/SystemPageRules.h"
#include "ui/setup/CSetupPage.h"

class QComboBox;
class QLineEdit;

// The System page: language, recorder ID, daylight saving, video standard,
// the three passwords, mouse sensor, alphablend and the model; it edits the
// system section.
class CSetupSystem : public CSetupPage {
    Q_OBJECT
public:
    static constexpr int kLanguage = 1068;
    static constexpr int kId = 1076;
    static constexpr int kDaylightSaving = 1070;
    static constexpr int kVideoStandard = 1071;
    static constexpr int kAdminPassword = 1072;
    static constexpr int kGuest0Password = 230;
    static constexpr int kGuest1Password = 1073;
    static constexpr int kMouseSensor = 1074;
    static constexpr int kAlphablend = 1077;
    static constexpr int kDvrType = 1075;
    static constexpr int kPreValue = 1035;
    static constexpr int kDefault = 1036;
    static constexpr int kSend = 225;

    CSetupSystem(SetupSession& session, SetupSectionCopies& copies, QWidget* parent);

    void BeforeShow() override { Fill(); }
    void AfterShow() override { Fill(); }

    // The controls from the working copy.
    void Fill();
    void PreValue();
    void Default();
    // Stores the controls and writes the section; a value the recorder cannot
    // take is named in a message box and nothing is sent.
    void Send();

private:
    SystemPageFields Shown() const;
    void Show(const SystemPageFields& fields);
    void onIdEdited(const QString& text);

    std::vector<std::uint8_t> m_languageCodes;
    QComboBox* m_language;
    QLineEdit* m_id;
    QComboBox* m_daylightSaving;
    QComboBox* m_videoStandard;
    QLineEdit* m_adminPassword;
    QLineEdit* m_guest0Password;
    QLineEdit* m_guest1Password;
    QComboBox* m_mouseSensor;
    QComboBox* m_alphablend;
    QLineEdit* m_dvrType;
};
