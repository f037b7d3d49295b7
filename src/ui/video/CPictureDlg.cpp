#include "ui/video/CPictureDlg.h"

#include "core/viewer/LangText.h"
#include "platform/app/DrivePaths.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"
#include "ui/controls/DialogKeys.h"
#include "ui/video/CImagePreviewStatic.h"
#include "ui/video/PicturePage.h"
#include "ui/viewer/ViewerText.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

struct ButtonPlace {
    int id;
    const char* text;
    QRect place;
};

constexpr ButtonPlace kButtons[] = {
    {CPictureDlg::kOpenJpeg, "Open Jpeg", {0, 140, 60, 30}},
    {CPictureDlg::kPrint, "Print", {60, 140, 30, 30}},
    {CPictureDlg::kPrintSetup, "Print Setup", {90, 140, 70, 30}},
};
constexpr QRect kPreviewPlace{0, 0, 159, 140};

QString ChooseJpeg(QWidget* parent, const QString& initialPath)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix("jpg");
    dialog.setNameFilters({"JPEG Files(*.jpg)", "ALL Files (*.*)"});
    dialog.setDirectory(QFileInfo(initialPath).path());
    dialog.selectFile(QFileInfo(initialPath).fileName());
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                   : QString();
}

} // namespace

CPictureDlg::CPictureDlg(QWidget* parent)
    : QWidget(parent)
    , m_preview(new CImagePreviewStatic(this))
    , m_printer(std::make_unique<QPrinter>())
    , m_choose([this](const QString& initialPath) { return ChooseJpeg(this, initialPath); })
    , m_confirmPrint([this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        return dialog.exec() == QDialog::Accepted;
    })
    , m_setup([this](QPrinter& printer) {
        QPageSetupDialog dialog(&printer, this);
        dialog.exec();
    })
    , m_clock([] { return std::time(nullptr); })
{
    setObjectName("PicturePanel");
    setAccessibleName("Pictures");
    m_preview->setGeometry(kPreviewPlace);
    for (const ButtonPlace& b : kButtons) {
        auto* button = new QPushButton(b.text, this);
        SetCtrlId(button, b.id);
        button->setObjectName("m_btn_number_dvrsetup_dialog_common");
        button->setAccessibleName(b.text);
        button->setAutoDefault(false);
        button->setGeometry(b.place);
    }
    connect(Button(kOpenJpeg), &QPushButton::clicked, this, &CPictureDlg::onOpenJpeg);
    connect(Button(kPrint), &QPushButton::clicked, this, &CPictureDlg::onPrint);
    connect(Button(kPrintSetup), &QPushButton::clicked, this, [this] { m_setup(*m_printer); });
}

CPictureDlg::~CPictureDlg() = default;

QPushButton* CPictureDlg::Button(int id) const
{
    return FindCtrl<QPushButton>(this, id);
}

void CPictureDlg::ShowPicture(const QString& path)
{
    m_path = path;
    m_preview->Load(path);
}

void CPictureDlg::onOpenJpeg()
{
    const QString initial = QDir(QString::fromStdString(drive::MapWindowsPath("C:\\DVR\\Live\\capture")))
                                .filePath("*.jpg");
    const QString chosen = m_choose(initial);
    if (!chosen.isEmpty())
        m_path = chosen;
    if (!m_path.isEmpty())
        m_preview->Load(m_path);
}

void CPictureDlg::onPrint()
{
    if (m_path.isEmpty()) {
        DvrMessageBox(this, TextOf(LangText::Id(kStrNoPicture)), "DVR", QMessageBox::Information);
        return;
    }
    if (!m_confirmPrint(*m_printer))
        return;
    if (!PrintPicturePage(*m_printer, m_path, m_clock())) {
        DvrMessageBox(this, "Cannot print " + m_path + " !", "DVR", QMessageBox::Warning);
        return;
    }
    m_path.clear();
    m_preview->Load(m_path);
}

void CPictureDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

void CPictureDlg::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QWidget::keyPressEvent(event);
}
