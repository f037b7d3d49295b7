#include "ui/video/PicturePage.h"

#include "core/video/PrintFit.h"

#include <QFont>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>

namespace {

constexpr int kLabelX = 10;
constexpr int kValueX = 120;
constexpr int kDateY = 30;
constexpr int kNameY = 60;
constexpr int kPictureX = 50;
constexpr int kPictureY = 200;

QFont PageFont()
{
    QFont font("Times New Roman");
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(20);
    font.setBold(true);
    return font;
}

// A text whose top-left corner is at (x, y). A path too long for the page
// goes on over the next lines, above the picture, rather than off the paper.
void DrawText(QPainter& painter, int x, int y, const QString& text)
{
    const QRect room(x, y, painter.device()->width() - x, kPictureY - y);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, text);
}

} // namespace

QString PrintTimeText(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y_%m%d_%H:%M:%S", &local);
    return QString::fromLatin1(text, static_cast<qsizetype>(length));
}

bool PrintPicturePage(QPrinter& printer, const QString& path, std::time_t when)
{
    printer.setDocName("GdiplusPrint");
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setFont(PageFont());
    painter.setPen(QColor(0, 0, 255));
    DrawText(painter, kLabelX, kDateY, "Date :");
    DrawText(painter, kValueX, kDateY, PrintTimeText(when));
    DrawText(painter, kLabelX, kNameY, "File Name :");
    DrawText(painter, kValueX, kNameY, path);

    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QImage picture = reader.read();
    const PrintSize size = FitPictureOnPage(picture.width(), picture.height(),
                                            painter.device()->width() - kPictureX,
                                            painter.device()->height() - kPictureY);
    if (size.width > 0)
        painter.drawImage(QRect(kPictureX, kPictureY, size.width, size.height), picture);
    return painter.end();
}
