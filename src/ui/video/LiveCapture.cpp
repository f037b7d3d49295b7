#include "ui/video/LiveCapture.h"

#include "platform/app/DrivePaths.h"
#include "platform/decoder/JpegWriter.h"
#include "platform/decoder/LiveDecoder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

constexpr const char* kCaptureFolder = "c:\\DVR\\Live\\capture";

QString ChannelCapture(int channel)
{
    return QString("%1 Channel Capture").arg(channel + 1);
}

} // namespace

LiveCapture::LiveCapture(CLiveDecoder& decoder)
    : m_decoder(decoder)
    , m_clock([] { return std::time(nullptr); })
{
}

CaptureOutcome LiveCapture::Capture(int channel, const SnapshotSource& source)
{
    for (const char* folder : {"c:\\DVR", "c:\\DVR\\Live", kCaptureFolder})
        drive::CreateFolder(folder);
    const std::time_t now = m_clock();
    std::tm local{};
    localtime_r(&now, &local);
    const QString folder = QString::fromStdString(drive::MapWindowsPath(kCaptureFolder));
    const QString path = QDir(folder).filePath(QString::fromStdString(CaptureFileName(channel, local)));
    const QByteArray localPath = QFile::encodeName(path);

    CaptureOutcome outcome;
    if (!m_decoder.CaptureJPEG(localPath.constData(), channel)) {
        outcome.status = ChannelCapture(channel) + " failed: " + failureReason(channel, folder);
        return outcome;
    }
    outcome.written = true;
    outcome.path = m_lastPath = path;
    outcome.status = ChannelCapture(channel);
    if (!AddJpegComment(localPath.toStdString(), SnapshotComment(source, local)))
        outcome.status += " (without its source comment: the file could not be rewritten)";
    return outcome;
}

QString LiveCapture::failureReason(int channel, const QString& folder) const
{
    if (!QFileInfo(folder).isDir())
        return "the capture folder " + folder + " cannot be made";
    // A small file tells whether the folder takes files at all.
    QTemporaryFile probe(QDir(folder).filePath("probe-XXXXXX"));
    if (!probe.open())
        return "cannot write in " + folder + " (" + probe.errorString() + ")";
    const QByteArray block(4096, '\0');
    if (probe.write(block) != block.size() || !probe.flush())
        return "cannot write in " + folder + " (" + probe.errorString() + ")";
    if (m_decoder.GetVideoWidth(channel) <= 0)
        return "no picture from this channel yet";
    return "the file could not be written in " + folder + " (is the disk full?)";
}
