#include "ui/setup/CSetupSystem.h"

#include "core/config/RegConfig.h"
#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsLists.h"
#include "core/servers/ServerRecord.h"
#include "core/setup/SettingsFieldCheck.h"
#include "core/setup/SetupFieldLimits.h"
#include "core/setup/SetupSectionCopies.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SetupSession.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

using namespace setupui;

namespace {

constexpr int kLabelX = 40;
constexpr int kLabelWidth = 250;
constexpr int kControlX = 300;
constexpr int kControlWidth = 220;
constexpr int kRowHeight = 26;
constexpr int kFirstRowY = 30;
constexpr int kRowStep = 40;

QRect LabelRow(int row)
{
    return {kLabelX, kFirstRowY + row * kRowStep, kLabelWidth, kRowHeight};
}

QRect ControlRow(int row)
{
    return {kControlX, kFirstRowY + row * kRowStep, kControlWidth, kRowHeight};
}

DvrTypeNames ReadTypeNames()
{
    CRegConfig reg;
    const ModelNameTable names = ServerDirectory(reg).ModelNames();
    DvrTypeNames out;
    std::copy(names.begin(), names.end(), out.begin());
    return out;
}

QLineEdit* Password(QWidget* parent, int id, const QString& label, int row)
{
    Label(parent, label, LabelRow(row));
    QLineEdit* edit = Edit(parent, id, label, static_cast<int>(kPasswordMaxLength), ControlRow(row));
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QComboBox* LabelledList(QWidget* parent, int id, const QString& label, const QStringList& entries, int row)
{
    Label(parent, label, LabelRow(row));
    return DropList(parent, id, label, entries, ControlRow(row));
}

} // namespace

CSetupSystem::CSetupSystem(SetupSession& session, SetupSectionCopies& copies, QWidget* parent)
    : CSetupPage(session, copies, parent)
{
    m_language = LabelledList(this, kLanguage, "Language", {}, 0);
    Label(this, "ID ( 0~255 )", LabelRow(1));
    m_id = Edit(this, kId, "ID ( 0~255 )", static_cast<int>(kRecorderIdDigits), ControlRow(1));
    m_id->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), m_id));
    connect(m_id, &QLineEdit::textChanged, this, &CSetupSystem::onIdEdited);
    m_daylightSaving = LabelledList(this, kDaylightSaving, "DST ( Day Light Saving )", {"No", "Yes"}, 2);
    m_videoStandard = LabelledList(this, kVideoStandard, "PAL / NTSC", {"NTSC", "PAL"}, 3);
    m_videoStandard->setEnabled(false);
    m_adminPassword = Password(this, kAdminPassword, "Admin pass( ID:ADMIN )", 4);
    m_guest0Password = Password(this, kGuest0Password, "User1 pass( ID:GUEST0 )", 5);
    m_guest1Password = Password(this, kGuest1Password, "User2 pass( ID:GUEST1 )", 6);
    m_mouseSensor = LabelledList(this, kMouseSensor, "Mouse Sensor", {"Low", "Middle", "High"}, 7);
    QStringList blends;
    for (int i = 1; i <= 10; ++i)
        blends << QString::number(i);
    m_alphablend = LabelledList(this, kAlphablend, "Alphablend", blends, 8);
    Label(this, "( 1: Transparent 10: Opague)", QRect(kControlX + kControlWidth + 10, kFirstRowY + 8 * kRowStep, 220,
                                                      kRowHeight));
    Label(this, "DVR TYPE", LabelRow(9));
    m_dvrType = Edit(this, kDvrType, "DVR TYPE", 32, ControlRow(9));
    m_dvrType->setReadOnly(true);

    connect(Button(this, kPreValue, "Pre-Value", QRect(430, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupSystem::PreValue);
    connect(Button(this, kDefault, "Default", QRect(540, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupSystem::Default);
    connect(Button(this, kSend, "Send", QRect(650, 470, 100, 32)), &QPushButton::clicked, this, &CSetupSystem::Send);
}

void CSetupSystem::Show(const SystemPageFields& f)
{
    if (f.languageCodes != m_languageCodes) {
        m_languageCodes = f.languageCodes;
        m_language->clear();
        for (std::uint8_t code : m_languageCodes)
            m_language->addItem(CodedName(kRecorderLanguageNames, code));
    }
    m_language->setCurrentIndex(f.languagePosition);
    m_id->setText(QString::fromStdString(f.idText));
    m_daylightSaving->setCurrentIndex(f.daylightSavingPosition);
    m_videoStandard->setCurrentIndex(f.videoStandardPosition);
    m_adminPassword->setText(QString::fromLatin1(f.adminPassword));
    m_guest0Password->setText(QString::fromLatin1(f.guest0Password));
    m_guest1Password->setText(QString::fromLatin1(f.guest1Password));
    m_mouseSensor->setCurrentIndex(f.mouseSensorPosition);
    m_alphablend->setCurrentIndex(f.alphablendPosition);
    if (f.dvrTypeName)
        m_dvrType->setText(QString::fromStdString(*f.dvrTypeName));
}

SystemPageFields CSetupSystem::Shown() const
{
    SystemPageFields f;
    f.languageCodes = m_languageCodes;
    f.languagePosition = m_language->currentIndex();
    f.idText = m_id->text().toStdString();
    f.daylightSavingPosition = m_daylightSaving->currentIndex();
    f.videoStandardPosition = m_videoStandard->currentIndex();
    f.adminPassword = m_adminPassword->text().toLatin1().toStdString();
    f.guest0Password = m_guest0Password->text().toLatin1().toStdString();
    f.guest1Password = m_guest1Password->text().toLatin1().toStdString();
    f.mouseSensorPosition = m_mouseSensor->currentIndex();
    f.alphablendPosition = m_alphablend->currentIndex();
    return f;
}

void CSetupSystem::Fill()
{
    Show(FillSystemPage(m_copies.working.system, ReadTypeNames()));
}

void CSetupSystem::PreValue()
{
    m_copies.RestoreBaseline(kSectionSystem);
    Fill();
}

void CSetupSystem::Default()
{
    SystemPageFields f = Shown();
    SetSystemPageDefaults(f);
    Show(f);
}

void CSetupSystem::Send()
{
    ZERD_INFO_BLK stored = m_copies.working;
    StoreSystemPage(Shown(), stored.system);
    if (const auto problem = CheckSettingsSection(stored, kSectionSystem)) {
        DvrMessageBox(this, QString::fromStdString(problem->Line()), "DVR", QMessageBox::Warning);
        return;
    }
    m_copies.working.system = stored.system;
    m_session.WriteSection(m_copies, kSectionSystem);
}

void CSetupSystem::onIdEdited(const QString& text)
{
    const std::string settled = SystemIdEditText(text.toStdString());
    if (settled != text.toStdString())
        m_id->setText(QString::fromStdString(settled));
}
