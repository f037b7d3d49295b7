#include "ui/setup/CSetupEtc.h"

#include "core/setup/UploadSequence.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CMacProgressCtrl.h"
#include "ui/setup/SetupControls.h"
#include "ui/viewer/ViewerText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

using namespace setupui;

namespace {

// Rectangles given as (left, top, right, bottom).
QRect Corners(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QString ChooseFile(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                        "Firmware file (*.bin);;Bitmap image (*.bmp);;JPEG image (*.jpg);;"
                                        "GIF image (*.gif);;PNG image (*.png);;ALL Files (*.*)",
                                        nullptr, QFileDialog::ReadOnly);
}

} // namespace

CSetupEtc::CSetupEtc(SetupSession& session, SetupSectionCopies& copies, QWidget* parent)
    : CSetupPage(session, copies, parent)
    , m_choose(ChooseFile)
{
    auto* group = new QGroupBox("File UpLoad", this);
    group->setObjectName(kGroupElement);
    group->setGeometry(Corners(10, 10, 495, 125));
    connect(Button(this, kBrowse, "browse", Corners(22, 35, 82, 60)), &QPushButton::clicked, this,
            &CSetupEtc::Browse);
    connect(Button(this, kUpload, "Upload", Corners(22, 65, 82, 90)), &QPushButton::clicked, this,
            &CSetupEtc::Upload);
    m_path = Edit(this, kPath, "File path", 32767, Corners(85, 35, 485, 60));
    m_progress = Placed(new CMacProgressCtrl(this), kProgress, "Upload progress", Corners(85, 65, 485, 88));
    m_progress->SetColor(QColor(0, 0, 255));
    m_status = Edit(this, kStatus, "Upload status", 64, Corners(234, 95, 484, 120));
    m_status->setAlignment(Qt::AlignRight);
    m_status->setReadOnly(true);
}

void CSetupEtc::Browse()
{
    const QString path = m_choose ? m_choose(this) : QString();
    if (path.isEmpty())
        return;
    // The full path is kept: the file is read from where it was chosen.
    const QFileInfo file(path);
    m_chosenSize = file.isReadable() ? file.size() : 0;
    m_path->setText(path);
}

void CSetupEtc::Upload()
{
    const QString path = m_path->text().trimmed();
    if (path.isEmpty())
        return;
    QString reason;
    if (!m_session.StartUpload(path, this, &reason))
        DvrMessageBox(this, reason, "DVR", QMessageBox::Warning);
}

void CSetupEtc::UploadProgress(std::uint32_t uploaded, std::uint32_t total)
{
    m_progress->SetRange(0, UploadProgressUnits(total));
    m_progress->SetPos(UploadProgressUnits(uploaded));
    m_status->setText(QString::fromStdString(UploadStatusText(uploaded, total)));
}

void CSetupEtc::UploadEnded(bool success)
{
    if (!success) {
        DvrMessageBox(this, TextOf(LangText::Id(kStrUploadFailed)), "DVR", QMessageBox::Information);
        return;
    }
    DvrMessageBox(this, TextOf(LangText::Id(kStrUploaded)), "DVR", QMessageBox::Information);
    m_path->clear();
    m_status->clear();
    m_progress->SetPos(0);
    update();
}
