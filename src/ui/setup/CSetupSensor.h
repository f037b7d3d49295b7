#pragma once

#include "core/setup/SensorPageRules.h"
#include "ui/setup/CSetupPage.h"

#include <array>

class CNumericEdit;
class QComboBox;
class QPushButton;

// The Sensor page: one of the eight alarm inputs at a time, the cameras and
// outputs it sets off, its operation hours, contact type, mode and dwell
// times; it edits the sensor section.
class CSetupSensor : public CSetupPage {
    Q_OBJECT
public:
    static constexpr int kFirstSensor = 1317;
    static constexpr int kFirstCamera = 1481;
    static constexpr int kFirstOutput = 1451;
    static constexpr int kStartHour = 1326;
    static constexpr int kEndHour = 1139;
    static constexpr int kType = 1327;
    static constexpr int kMode = 1329;
    static constexpr int kRecordDwell = 1330;
    static constexpr int kOutputDwell = 1331;
    static constexpr int kPreValue = 1027;
    static constexpr int kDefault = 1028;
    static constexpr int kSend = 1035;

    CSetupSensor(SetupSession& session, SetupSectionCopies& copies, QWidget* parent);

    void BeforeShow() override;
    void ApplyModelLimits(std::uint8_t dvrTypeCode) override;
    void OnSetupExit() override;

    void SelectSensor(int sensor);
    void PreValue();
    void Default();
    void Send();
    // The sensor shown (-1: none).
    int CheckedSensor() const;

private:
    SensorPageFields shown() const;
    void show(const SensorPageFields& fields);
    void showSensor(int sensor);
    void onHourOutOfRange(int message);

    std::array<QPushButton*, kMaxSensors> m_sensors{};
    std::array<QPushButton*, kMaxChannels> m_cameras{};
    std::array<QPushButton*, 8> m_outputs{};
    CNumericEdit* m_start;
    CNumericEdit* m_end;
    QComboBox* m_type;
    QComboBox* m_mode;
    CNumericEdit* m_recordDwell;
    CNumericEdit* m_outputDwell;
};
