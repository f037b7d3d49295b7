#pragma once

#include "core/setup/RecordSetPageRules.h"
#include "ui/setup/CSetupPage.h"

#include <array>

class CNumericEdit;
class QComboBox;
class QGroupBox;
class QPushButton;

// The Record Set page: resolution and watermark of the two camera groups,
// audio record per camera and the video record choice; it edits the record
// set section.
class CSetupRecset : public CSetupPage {
    Q_OBJECT
public:
    static constexpr int kResolution[2] = {1188, 1214};
    static constexpr int kWatermark[2] = {1183, 1199};
    static constexpr int kStrength[2] = {1184, 1202};
    static constexpr int kKey[2] = {1185, 1207};
    static constexpr int kHidden[2] = {1186, 1212};
    static constexpr int kFirstAudio[2] = {1332, 1336};
    static constexpr int kFirstVideo = 1235;
    static constexpr int kPreValue = 1027;
    static constexpr int kDefault = 1028;
    static constexpr int kSend = 1035;

    CSetupRecset(SetupSession& session, SetupSectionCopies& copies, QWidget* parent);

    void BeforeShow() override { Fill(); }
    void ApplyModelLimits(std::uint8_t dvrTypeCode) override;
    void OnSetupExit() override;

    void Fill();
    void PreValue();
    void Default();
    void Send();
    void SelectVideoRecord(int button);

private:
    RecordSetPageFields shown() const;
    void show(const RecordSetPageFields& fields);
    void onGroupAResolution(int position);
    void setVideoEnabled(bool enabled);
    void setGroupBEnabled(bool enabled);

    std::uint8_t m_dvrTypeCode = 0;
    std::uint8_t m_videoChoice = 0;
    std::array<QGroupBox*, 2> m_groups{};
    std::array<QComboBox*, 2> m_resolution{};
    std::array<QComboBox*, 2> m_watermark{};
    std::array<CNumericEdit*, 2> m_strength{};
    std::array<CNumericEdit*, 2> m_key{};
    std::array<CNumericEdit*, 2> m_hidden{};
    std::array<std::array<QPushButton*, 4>, 2> m_audio{};
    std::array<QPushButton*, 4> m_video{};
};
