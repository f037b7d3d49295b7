#pragma once

#include "core/setup/ScheduleGrid.h"
#include "ui/setup/CSetupPage.h"

#include <array>

class CNumericEdit;
class QPushButton;

// The Schedule page: the week of one camera as 8 x 24 cells ("Everyday" and
// Sunday..Saturday by hour), mode and camera buttons, copying between
// cameras; it edits the schedule section. Cells are lettered and coloured by
// their mode; a press dragged across cells paints them in the current mode.
class CSetupSchedule : public CSetupPage {
    Q_OBJECT
public:
    static constexpr int kFirstCell = 1700;   // + row * 24 + hour
    static constexpr int kFirstRowAll = 1500; // + row
    static constexpr int kFirstMode = 1510;   // Continue, Motion, Dual, Sensor, None
    static constexpr int kFirstCamera = 1427; // + camera
    static constexpr int kCopyFrom = 1199;
    static constexpr int kCopyTo = 1203;
    static constexpr int kCopy = 1041;
    static constexpr int kSend = 1027;
    static constexpr int kPreValue = 1035;
    static constexpr int kDefault = 1036;
    static constexpr int kStrChooseMode = 6048;

    CSetupSchedule(SetupSession& session, SetupSectionCopies& copies, QWidget* parent);

    void AfterShow() override { PreValue(); }
    void ApplyModelLimits(std::uint8_t dvrTypeCode) override;
    void OnSetupExit() override;

    void PreValue();
    void Default();
    void Send();
    void Copy();
    void SelectCamera(int camera);

    // The camera shown (-1: none).
    int CheckedCamera() const;
    QPushButton* CellButton(int row, int hour) const { return m_cells[row][hour]; }
    const ScheduleGrid& Grid() const { return m_grid; }
    bool ModelLimitFlag() const { return m_modelLimit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCellClicked(int row, int hour);
    void onRowAll(int row);
    void onMode(int mode);
    void storeCheckedCameras(int except);
    void showCamera(int camera);
    void refresh();
    // The cell under a point of the page, if any.
    bool cellAt(const QPoint& pagePoint, int& row, int& hour) const;

    ScheduleGrid m_grid;
    char m_mode = 0;
    bool m_modelLimit = false;
    bool m_painting = false;
    std::array<std::array<QPushButton*, kScheduleHours>, kScheduleRows> m_cells{};
    std::array<QPushButton*, kScheduleRows> m_rowAll{};
    std::array<QPushButton*, 5> m_modes{};
    std::array<QPushButton*, kMaxChannels> m_cameras{};
    CNumericEdit* m_from;
    CNumericEdit* m_to;
};
