#include "ui/status/LogFileReader.h"

#include <QFile>

LogFileRead ReadLogFile(const QString& path, const CivilDate& date)
{
    LogFileRead read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = QStringLiteral("File could not be opened : %1").arg(static_cast<int>(file.error()));
        return read;
    }
    if (file.size() > kLargestLogFile) {
        read.error = QStringLiteral("File is too large for a log : %1 bytes").arg(file.size());
        return read;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        read.error = QStringLiteral("File could not be read : %1").arg(file.errorString());
        return read;
    }
    read.entries =
        DecodeLogEntries(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()), date);
    return read;
}
