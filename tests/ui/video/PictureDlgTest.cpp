#include "platform/decoder/LiveDecoder.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/video/CImagePreviewStatic.h"
#include "ui/video/CPictureDlg.h"
#include "ui/video/LiveCapture.h"
#include "ui/viewer/ViewerText.h"

#include <QFile>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// What a poppler tool prints for the file; empty when it is not installed.
QString Poppler(const QString& tool, const QStringList& arguments)
{
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return {};
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class PictureDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearShownMessages();
        // A path longer than a page is wide.
        const std::string folder = dir / "DVR/Live/Capture/a-folder-name-long-enough-to-need-a-second-line";
        QDir().mkpath(QString::fromStdString(folder));
        picture = folder + "/Live_1CH_2007_0305_090407.jpg";
        QImage image(704, 576, QImage::Format_RGB32);
        image.fill(QColor(30, 160, 90));
        ASSERT_TRUE(image.save(QString::fromStdString(picture), "JPG"));
        panel.resize(159, 175);
        panel.SetPrintDialog([this](QPrinter& printer) {
            ++printDialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return confirmPrint;
        });
    }

    QApplication& app = EnsureQApplication();
    TempDir dir;
    ScopedEnv driveC{"DVR_DRIVE_C", dir.path()};
    std::string picture;
    std::string pdf = dir / "page.pdf";
    int printDialogs = 0;
    bool confirmPrint = true;
    CPictureDlg panel;
};

TEST_F(PictureDlgTest, PrintPutsDateNameAndPictureOnAPageThenBlanksThePreview)
{
    const QString path = QString::fromStdString(picture);
    panel.ShowPicture(path);
    EXPECT_TRUE(panel.Preview()->HasPicture());
    EXPECT_EQ(panel.Preview()->PictureSize(), QSize(704, 576));

    QTest::mouseClick(panel.Button(CPictureDlg::kPrint), Qt::LeftButton);
    ASSERT_EQ(printDialogs, 1);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
    const QString text = Poppler("pdftotext", {"-raw", QString::fromStdString(pdf), "-"});
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is needed to read the printed page";
    EXPECT_TRUE(text.contains("Date :")) << text.toStdString();
    EXPECT_TRUE(text.contains("File Name :")) << text.toStdString();
    // The path may go on over a second line.
    EXPECT_TRUE(QString(text).remove('\n').contains(path)) << text.toStdString();
    const QString images = Poppler("pdfimages", {"-list", QString::fromStdString(pdf)});
    EXPECT_TRUE(images.contains(QRegularExpression(R"(\b704\s+576\b)"))) << images.toStdString();

    EXPECT_TRUE(panel.Path().isEmpty());
    EXPECT_FALSE(panel.Preview()->HasPicture());
    QTest::mouseClick(panel.Button(CPictureDlg::kPrint), Qt::LeftButton);
    EXPECT_EQ(printDialogs, 1);
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].text, TextOf(LangText::Id(6017)));
    EXPECT_EQ(ShownMessages()[0].caption, "DVR");
    EXPECT_EQ(ShownMessages()[0].icon, QMessageBox::Information);
}

TEST_F(PictureDlgTest, CancelledPrintKeepsThePicture)
{
    confirmPrint = false;
    panel.ShowPicture(QString::fromStdString(picture));
    QTest::mouseClick(panel.Button(CPictureDlg::kPrint), Qt::LeftButton);
    EXPECT_EQ(printDialogs, 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
    EXPECT_EQ(panel.Path(), QString::fromStdString(picture));
    EXPECT_TRUE(panel.Preview()->HasPicture());
}

TEST_F(PictureDlgTest, OpenJpegStartsInTheCaptureFolderAndCancelKeepsThePath)
{
    QString offered;
    QString answer;
    panel.SetFileChooser([&](const QString& initial) {
        offered = initial;
        return answer;
    });
    QTest::mouseClick(panel.Button(CPictureDlg::kOpenJpeg), Qt::LeftButton);
    EXPECT_EQ(offered, QString::fromStdString(dir / "DVR/Live/Capture/*.jpg"));
    EXPECT_TRUE(panel.Path().isEmpty());
    EXPECT_FALSE(panel.Preview()->HasPicture());

    answer = QString::fromStdString(picture);
    QTest::mouseClick(panel.Button(CPictureDlg::kOpenJpeg), Qt::LeftButton);
    EXPECT_EQ(panel.Path(), answer);
    EXPECT_TRUE(panel.Preview()->HasPicture());

    // Cancelled: the previous file is read again, so a changed file shows.
    QImage other(320, 240, QImage::Format_RGB32);
    other.fill(Qt::white);
    ASSERT_TRUE(other.save(answer, "JPG"));
    answer.clear();
    QTest::mouseClick(panel.Button(CPictureDlg::kOpenJpeg), Qt::LeftButton);
    EXPECT_EQ(panel.Path(), QString::fromStdString(picture));
    EXPECT_EQ(panel.Preview()->PictureSize(), QSize(320, 240));
}

TEST_F(PictureDlgTest, ButtonsKeepTheirPlaces)
{
    EXPECT_EQ(panel.Button(CPictureDlg::kOpenJpeg)->geometry(), QRect(0, 140, 60, 30));
    EXPECT_EQ(panel.Button(CPictureDlg::kPrint)->geometry(), QRect(60, 140, 30, 30));
    EXPECT_EQ(panel.Button(CPictureDlg::kPrintSetup)->geometry(), QRect(90, 140, 70, 30));
    EXPECT_EQ(panel.Button(CPictureDlg::kOpenJpeg)->text(), "Open Jpeg");
}

TEST(LiveCaptureTest, ChannelWithoutAPictureIsReportedAndWritesNothing)
{
    EnsureQApplication();
    TempDir dir;
    ScopedEnv driveC("DVR_DRIVE_C", dir.path());
    CLiveDecoder decoder;
    ASSERT_TRUE(decoder.Initialise(0, 1, 720, 576, false));
    LiveCapture capture(decoder);
    const CaptureOutcome outcome = capture.Capture(4, {});
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.status, "5 Channel Capture failed: no picture from this channel yet");
    EXPECT_TRUE(capture.LastPath().isEmpty());
    EXPECT_TRUE(QDir(QString::fromStdString(dir / "DVR/Live/Capture")).isEmpty());
}

} // namespace
