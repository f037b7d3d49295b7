#include "ui/setup/CSetupSensor.h"

#include "core/dvr/SettingsBlock.h"
#include "core/setup/SetupFieldLimits.h"
#include "core/setup/SetupSectionCopies.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CNumericEdit.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SetupSession.h"
#include "ui/viewer/ViewerText.h"

#include <QComboBox>
#include <QPushButton>

using namespace setupui;

namespace {

constexpr int kLabelX = 30;
constexpr int kControlX = 200;
constexpr int kRowHeight = 28;

QRect LabelRow(int y)
{
    return {kLabelX, y, 160, kRowHeight};
}

CNumericEdit* NumberEdit(QWidget* parent, int id, const QString& label, const ValueRange& range, const QRect& place)
{
    auto* edit = Placed(new CNumericEdit(parent), id, label, place);
    edit->SetRange(range.low, range.high);
    return edit;
}

} // namespace

CSetupSensor::CSetupSensor(SetupSession& session, SetupSectionCopies& copies, QWidget* parent)
    : CSetupPage(session, copies, parent)
{
    Label(this, "Sensor", LabelRow(30));
    for (int s = 0; s < static_cast<int>(kMaxSensors); ++s) {
        m_sensors[s] = CheckButton(this, kFirstSensor + s, QString::number(s + 1),
                                   QRect(kControlX + s * 34, 30, 30, kRowHeight));
        m_sensors[s]->setAccessibleName(QString("Sensor %1").arg(s + 1));
        connect(m_sensors[s], &QPushButton::clicked, this, [this, s] { SelectSensor(s); });
    }
    Label(this, "Camera", LabelRow(80));
    for (int n = 0; n < static_cast<int>(kMaxChannels); ++n) {
        m_cameras[n] = CheckButton(this, kFirstCamera + n, QString::number(n + 1),
                                   QRect(kControlX + n * 34, 80, 30, kRowHeight));
        m_cameras[n]->setAccessibleName(QString("Camera %1").arg(n + 1));
    }
    Label(this, "Link", LabelRow(130));
    for (int k = 0; k < 8; ++k) {
        m_outputs[k] = CheckButton(this, kFirstOutput + k, QString::number(k + 1),
                                   QRect(kControlX + k * 34, 130, 30, kRowHeight));
        m_outputs[k]->setAccessibleName(QString("Link %1").arg(k + 1));
    }
    Label(this, "Operation Time", LabelRow(180));
    m_start = NumberEdit(this, kStartHour, "Operation Time", kHourRange, QRect(kControlX, 180, 70, kRowHeight));
    Label(this, "~", QRect(kControlX + 78, 180, 14, kRowHeight));
    m_end = NumberEdit(this, kEndHour, "~", kHourRange, QRect(kControlX + 95, 180, 70, kRowHeight));
    connect(m_start, &CNumericEdit::valueOutOfRange, this,
            [this] { onHourOutOfRange(kStrStartHourRange); });
    connect(m_end, &CNumericEdit::valueOutOfRange, this, [this] { onHourOutOfRange(kStrEndHourRange); });
    Label(this, "Type", LabelRow(230));
    m_type = DropList(this, kType, "Type", {"NC", "NO"}, QRect(kControlX, 230, 160, kRowHeight));
    Label(this, "Operation Mode", LabelRow(280));
    m_mode = DropList(this, kMode, "Operation Mode", {"NORMAL", "INTENSIVE"}, QRect(kControlX, 280, 160, kRowHeight));
    Label(this, "Record Dwell Time", LabelRow(330));
    m_recordDwell = NumberEdit(this, kRecordDwell, "Record Dwell Time", kDwellRange,
                               QRect(kControlX, 330, 90, kRowHeight));
    Label(this, "Output Dwell Time", LabelRow(380));
    m_outputDwell = NumberEdit(this, kOutputDwell, "Output Dwell Time", kDwellRange,
                               QRect(kControlX, 380, 90, kRowHeight));

    connect(Button(this, kPreValue, "Pre-Value", QRect(430, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupSensor::PreValue);
    connect(Button(this, kDefault, "Default", QRect(540, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupSensor::Default);
    connect(Button(this, kSend, "Send", QRect(650, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupSensor::Send);
}

int CSetupSensor::CheckedSensor() const
{
    for (int s = 0; s < static_cast<int>(kMaxSensors); ++s)
        if (m_sensors[s]->isChecked())
            return s;
    return -1;
}

SensorPageFields CSetupSensor::shown() const
{
    SensorPageFields f;
    for (int n = 0; n < static_cast<int>(kMaxChannels); ++n)
        if (m_cameras[n]->isChecked())
            f.cameraLinks = static_cast<std::uint16_t>(f.cameraLinks | (1u << n));
    for (int k = 0; k < 8; ++k)
        if (m_outputs[k]->isChecked())
            f.outputLinks = static_cast<std::uint8_t>(f.outputLinks | (1u << k));
    f.startHour = m_start->Value();
    f.endHour = m_end->Value();
    f.typePosition = m_type->currentIndex();
    f.modePosition = m_mode->currentIndex();
    f.recordDwell = m_recordDwell->Value();
    f.outputDwell = m_outputDwell->Value();
    return f;
}

void CSetupSensor::show(const SensorPageFields& f)
{
    for (int n = 0; n < static_cast<int>(kMaxChannels); ++n)
        m_cameras[n]->setChecked(f.cameraLinks & (1u << n));
    for (int k = 0; k < 8; ++k)
        m_outputs[k]->setChecked(f.outputLinks & (1u << k));
    m_start->SetValue(f.startHour);
    m_end->SetValue(f.endHour);
    m_type->setCurrentIndex(f.typePosition);
    m_mode->setCurrentIndex(f.modePosition);
    m_recordDwell->SetValue(f.recordDwell);
    m_outputDwell->SetValue(f.outputDwell);
}

void CSetupSensor::showSensor(int sensor)
{
    if (sensor >= 0)
        show(FillSensorPage(m_copies.working.sensor, sensor));
}

void CSetupSensor::BeforeShow()
{
    // With no sensor chosen yet the first is shown, so edits have a home.
    if (CheckedSensor() < 0)
        m_sensors[0]->setChecked(true);
    showSensor(CheckedSensor());
}

void CSetupSensor::SelectSensor(int sensor)
{
    for (int s = 0; s < static_cast<int>(kMaxSensors); ++s)
        if (s != sensor && m_sensors[s]->isChecked())
            StoreSensorPage(shown(), m_copies.working.sensor, s);
    for (QPushButton* button : m_sensors)
        button->setChecked(false);
    m_sensors[sensor]->setChecked(true);
    showSensor(sensor);
}

void CSetupSensor::PreValue()
{
    m_copies.RestoreBaseline(kSectionSensor);
    showSensor(CheckedSensor());
}

void CSetupSensor::Default()
{
    SetSensorDefaults(m_copies.working.sensor);
    SensorPageFields f = shown();
    ClearSensorPage(f);
    show(f);
}

void CSetupSensor::Send()
{
    const int sensor = CheckedSensor();
    if (sensor >= 0)
        StoreSensorPage(shown(), m_copies.working.sensor, sensor);
    m_session.WriteSection(m_copies, kSectionSensor);
}

void CSetupSensor::onHourOutOfRange(int message)
{
    // The edit has put its previous value back; the operator is told the range.
    DvrMessageBox(this, TextOf(LangText::Id(message)), "DVR", QMessageBox::Critical);
}

void CSetupSensor::ApplyModelLimits(std::uint8_t dvrTypeCode)
{
    const SensorLimits limits = SensorModelLimits(dvrTypeCode);
    auto limit = [](auto& buttons, int enabled) {
        for (int i = enabled; i < static_cast<int>(buttons.size()); ++i) {
            buttons[i]->setEnabled(false);
            buttons[i]->setChecked(false);
        }
    };
    limit(m_sensors, limits.sensors);
    limit(m_cameras, limits.cameras);
    limit(m_outputs, limits.outputs);
}

void CSetupSensor::OnSetupExit()
{
    for (QPushButton* button : m_sensors)
        button->setEnabled(true);
    for (QPushButton* button : m_cameras)
        button->setEnabled(true);
    for (QPushButton* button : m_outputs)
        button->setEnabled(true);
}
