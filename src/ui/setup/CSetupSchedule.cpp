#include "ui/setup/CSetupSchedule.h"

#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsLists.h"
#include "core/setup/SetupSectionCopies.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CNumericEdit.h"
#include "ui/controls/CtrlId.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SetupSession.h"
#include "ui/viewer/ViewerText.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

using namespace setupui;

namespace {

constexpr int kCellX = 100;
constexpr int kCellY = 50;
constexpr int kCellStepX = 21;
constexpr int kCellStepY = 23;
constexpr int kCellWidth = 20;
constexpr int kCellHeight = 17;

constexpr const char* kRowNames[] = {"Everyday", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday",
                                     "Friday", "Saturday"};
constexpr const char* kModeNames[] = {"Continue", "Motion", "Dual", "Sensor", "None"};

// Mode colours, dark enough for the application's dark palette; an empty
// cell takes the palette's button colour. The cells are too small for the
// skin's button image.
QString CellStyle(char letter)
{
    const char* fill = "palette(button)";
    switch (letter) {
    case 'C': fill = "#2e7d32"; break;
    case 'M': fill = "#1565c0"; break;
    case 'D': fill = "#6a1b9a"; break;
    case 'S': fill = "#b8560b"; break;
    case 'X': fill = "#455a64"; break;
    default: break;
    }
    return QString("border-image: none; border: 1px solid palette(mid); padding: 0px; color: palette(button-text);"
                   " background-color: %1;")
        .arg(fill);
}

} // namespace

CSetupSchedule::CSetupSchedule(SetupSession& session, SetupSectionCopies& copies, QWidget* parent)
    : CSetupPage(session, copies, parent)
{
    for (int hour = 0; hour < static_cast<int>(kScheduleHours); ++hour) {
        QLabel* label = Label(this, QString::number(hour), QRect(kCellX + kCellStepX * hour, 20, kCellWidth, 17));
        label->setAlignment(Qt::AlignCenter);
    }
    for (int row = 0; row < kScheduleRows; ++row) {
        const int y = kCellY + kCellStepY * row;
        Label(this, kRowNames[row], QRect(10, y, 85, kCellHeight));
        for (int hour = 0; hour < static_cast<int>(kScheduleHours); ++hour) {
            QPushButton* cell = CheckButton(this, kFirstCell + row * 24 + hour, "",
                                            QRect(kCellX + kCellStepX * hour, y, kCellWidth, kCellHeight));
            cell->setAccessibleName(QString("%1 %2").arg(kRowNames[row]).arg(hour));
            cell->installEventFilter(this);
            connect(cell, &QPushButton::clicked, this, [this, row, hour] { onCellClicked(row, hour); });
            m_cells[row][hour] = cell;
        }
        m_rowAll[row] = CheckButton(this, kFirstRowAll + row, "All", QRect(610, y, 40, kCellHeight));
        m_rowAll[row]->setAccessibleName(QString("All %1").arg(kRowNames[row]));
        connect(m_rowAll[row], &QPushButton::clicked, this, [this, row] { onRowAll(row); });
    }
    Label(this, "Mode", QRect(10, 250, 85, 28));
    for (int mode = 0; mode < 5; ++mode) {
        m_modes[mode] = CheckButton(this, kFirstMode + mode, kModeNames[mode], QRect(100 + mode * 95, 250, 90, 28));
        connect(m_modes[mode], &QPushButton::clicked, this, [this, mode] { onMode(mode); });
    }
    Label(this, "Camera", QRect(10, 300, 85, 28));
    for (int camera = 0; camera < static_cast<int>(kMaxChannels); ++camera) {
        m_cameras[camera] = CheckButton(this, kFirstCamera + camera, QString::number(camera + 1),
                                        QRect(100 + camera * 34, 300, 30, 28));
        connect(m_cameras[camera], &QPushButton::clicked, this, [this, camera] { SelectCamera(camera); });
    }
    Label(this, "Copy Camera Setting", QRect(10, 350, 160, 28));
    Label(this, "From", QRect(180, 350, 40, 28));
    m_from = Placed(new CNumericEdit(this), kCopyFrom, "From", QRect(225, 350, 60, 28));
    Label(this, "To", QRect(295, 350, 30, 28));
    m_to = Placed(new CNumericEdit(this), kCopyTo, "To", QRect(325, 350, 60, 28));
    for (CNumericEdit* edit : {m_from, m_to})
        edit->SetRange(1, static_cast<int>(kMaxChannels));
    m_to->SetValue(static_cast<int>(kMaxChannels));
    connect(Button(this, kCopy, "Copy", QRect(395, 350, 80, 28)), &QPushButton::clicked, this,
            &CSetupSchedule::Copy);

    connect(Button(this, kPreValue, "Pre_Value", QRect(430, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupSchedule::PreValue);
    connect(Button(this, kDefault, "Default", QRect(540, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupSchedule::Default);
    connect(Button(this, kSend, "Send", QRect(650, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupSchedule::Send);
}

int CSetupSchedule::CheckedCamera() const
{
    for (int camera = 0; camera < static_cast<int>(kMaxChannels); ++camera)
        if (m_cameras[camera]->isChecked())
            return camera;
    return -1;
}

void CSetupSchedule::refresh()
{
    for (int row = 0; row < kScheduleRows; ++row) {
        for (int hour = 0; hour < static_cast<int>(kScheduleHours); ++hour) {
            const ScheduleCell& cell = m_grid.Cell(row, hour);
            QPushButton* button = m_cells[row][hour];
            button->setChecked(cell.checked);
            button->setText(cell.letter ? QString(QChar(cell.letter)) : QString());
            const QString style = CellStyle(cell.letter);
            if (button->styleSheet() != style)
                button->setStyleSheet(style);
        }
        m_rowAll[row]->setChecked(m_grid.RowAllChecked(row));
    }
}

void CSetupSchedule::showCamera(int camera)
{
    if (camera < 0)
        m_grid.Clear();
    else
        m_grid.ShowCamera(m_copies.working.schedule, camera);
    refresh();
}

void CSetupSchedule::storeCheckedCameras(int except)
{
    for (int camera = 0; camera < static_cast<int>(kMaxChannels); ++camera)
        if (camera != except && m_cameras[camera]->isChecked())
            m_grid.StoreCamera(m_copies.working.schedule, camera);
}

void CSetupSchedule::SelectCamera(int camera)
{
    storeCheckedCameras(camera);
    for (QPushButton* button : m_cameras)
        button->setChecked(false);
    m_cameras[camera]->setChecked(true);
    showCamera(camera);
}

void CSetupSchedule::onCellClicked(int row, int hour)
{
    if (m_painting) {
        refresh();
        return;
    }
    if (!m_grid.ClickCell(row, hour, m_cells[row][hour]->isChecked(), m_mode))
        DvrMessageBox(this, TextOf(LangText::Id(kStrChooseMode)), "DVR", QMessageBox::Information);
    refresh();
}

void CSetupSchedule::onRowAll(int row)
{
    m_grid.ClickRowAll(row, m_rowAll[row]->isChecked(), m_mode);
    refresh();
}

void CSetupSchedule::onMode(int mode)
{
    const bool checked = m_modes[mode]->isChecked();
    for (QPushButton* button : m_modes)
        button->setChecked(false);
    m_modes[mode]->setChecked(checked);
    m_mode = checked ? kScheduleLetters[mode] : 0;
}

void CSetupSchedule::Copy()
{
    const int source = CheckedCamera();
    if (source < 0)
        return;
    m_grid.StoreCamera(m_copies.working.schedule, source);
    CopyScheduleWeek(m_copies.working.schedule, source, m_from->Value(), m_to->Value());
}

void CSetupSchedule::PreValue()
{
    m_copies.RestoreBaseline(kSectionSchedule);
    // With no camera chosen yet the first one is shown, so edits have a home.
    int camera = CheckedCamera();
    if (camera < 0) {
        camera = 0;
        m_cameras[0]->setChecked(true);
    }
    showCamera(camera);
}

void CSetupSchedule::Default()
{
    m_grid.Clear();
    refresh();
    for (QPushButton* button : m_cameras)
        button->setChecked(false);
    SetScheduleDefaults(m_copies.working.schedule);
}

void CSetupSchedule::Send()
{
    const int camera = CheckedCamera();
    if (camera >= 0)
        m_grid.StoreCamera(m_copies.working.schedule, camera);
    m_session.WriteSection(m_copies, kSectionSchedule);
}

void CSetupSchedule::ApplyModelLimits(std::uint8_t dvrTypeCode)
{
    const ScheduleLimits limits = ScheduleModelLimits(dvrTypeCode);
    m_modelLimit = limits.modelLimitFlag;
    for (int camera = limits.enabledCameras; camera < static_cast<int>(kMaxChannels); ++camera) {
        m_cameras[camera]->setEnabled(false);
        m_cameras[camera]->setChecked(false);
    }
}

void CSetupSchedule::OnSetupExit()
{
    m_modelLimit = false;
    for (QPushButton* button : m_cameras) {
        button->setEnabled(true);
        button->setChecked(false);
    }
}

bool CSetupSchedule::cellAt(const QPoint& p, int& row, int& hour) const
{
    if (p.x() < kCellX || p.y() < kCellY)
        return false;
    hour = (p.x() - kCellX) / kCellStepX;
    row = (p.y() - kCellY) / kCellStepY;
    return hour < static_cast<int>(kScheduleHours) && row < kScheduleRows
        && m_cells[row][hour]->geometry().contains(p);
}

bool CSetupSchedule::eventFilter(QObject* watched, QEvent* event)
{
    auto* cell = qobject_cast<QPushButton*>(watched);
    if (event->type() == QEvent::MouseButtonPress) {
        m_painting = false;
    } else if (event->type() == QEvent::MouseMove && cell && m_mode) {
        auto* move = static_cast<QMouseEvent*>(event);
        int row = 0;
        int hour = 0;
        if ((move->buttons() & Qt::LeftButton) && cellAt(cell->mapToParent(move->position().toPoint()), row, hour)
            && (m_painting || m_cells[row][hour] != cell)) {
            if (!m_painting) {
                // The drag left the pressed cell: it is painted too.
                m_painting = true;
                const int id = CtrlId(cell) - kFirstCell;
                m_grid.PaintCell(id / 24, id % 24, m_mode);
            }
            m_grid.PaintCell(row, hour, m_mode);
            refresh();
        }
    } else if (event->type() == QEvent::MouseButtonRelease && m_painting) {
        // The release ends the stroke; it must not also toggle the pressed cell.
        QMetaObject::invokeMethod(this, [this] { m_painting = false; }, Qt::QueuedConnection);
    }
    return CSetupPage::eventFilter(watched, event);
}
