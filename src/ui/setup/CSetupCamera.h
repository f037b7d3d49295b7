#pragma once

#include "core/setup/CameraPageRules.h"
#include "ui/setup/CSetupPage.h"

#include <QTimer>

#include <array>
#include <mutex>

class CMotionGridView;
class CNumericEdit;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

// The Camera page: one channel at a time, its name, motion sensitivity,
// frame rate, picture settings, quality and PTZ settings, and its motion area
// marked by clicks on the 8 x 8 grid of the preview; it edits the camera
// section.
class CSetupCamera : public CSetupPage {
    Q_OBJECT
public:
    static constexpr int kFirstChannel = 1300;
    static constexpr int kAllChannels = 1316;
    static constexpr int kName = 1115;
    static constexpr int kMotionMode = 1224;
    static constexpr int kQuality = 1350;
    static constexpr int kPtzProtocol = 1097;
    static constexpr int kMarkAll = 211;
    static constexpr int kClear = 232;
    static constexpr int kPreValue = 1035;
    static constexpr int kDefault = 1036;
    static constexpr int kSend = 227;
    static constexpr int kTimerPreviewStart = 1000;
    static constexpr int kPreviewStartMs = 50;

    // The six slider / numeric edit pairs.
    enum Pair { kSensitivity, kFrameRate, kBrightness, kContrast, kHue, kPtzAddress, kPairCount };
    struct PairIds {
        int slider;
        int edit;
    };
    static constexpr PairIds kPairIds[kPairCount] = {{1118, 1117}, {1121, 1122}, {1128, 1131},
                                                     {1129, 1132}, {1130, 1133}, {1099, 1135}};

    CSetupCamera(SetupSession& session, SetupSectionCopies& copies, QWidget* parent);

    void AfterShow() override;
    void ApplyModelLimits(std::uint8_t dvrTypeCode) override;
    void OnSetupExit() override;

    void SelectChannel(int channel);
    void PreValue();
    void Default();
    void Send();
    // A click at (x, y) in preview pixels (message 2457, or 2468 from a
    // paired recorder's preview).
    void PreviewClicked(int x, int y);
    void MarkAll(bool watched);

    int SelectedChannel() const;
    bool TwoGrids() const;
    // The borrowed video window, or the page's own stand-in without one.
    QWidget* Preview() const;

private:
    CameraChannelFields shown() const;
    void show(const CameraChannelFields& fields);
    void showChannel(int channel);
    void storeChannel(int channel);
    void unpackGrid();
    void showPreview(int channel);
    void repaintPreview();
    std::uint8_t typeCode() const;

    // Guards the grid, the selected channel and the grid mode against the
    // preview's drawing.
    mutable std::mutex m_lock;
    MotionGrid m_grid{};
    int m_channel = -1;
    bool m_twoGrids = false;

    std::array<QPushButton*, kMaxChannels> m_channels{};
    QLineEdit* m_name;
    std::array<QSlider*, kPairCount> m_sliders{};
    std::array<CNumericEdit*, kPairCount> m_edits{};
    QComboBox* m_quality;
    QComboBox* m_ptzProtocol;
    CMotionGridView* m_preview;
    QWidget* m_lentWindow = nullptr;
    // Live video starts a moment after the page shows.
    QTimer m_previewStart;
};
