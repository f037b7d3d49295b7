#include "ui/setup/FileUploadDriver.h"

#include "core/dvr/NotifyCodes.h"
#include "platform/netctrl/ZERDNetwork.h"
#include "ui/setup/SetupSession.h"

#include <QFileInfo>

bool FileUploadDriver::Start(CZERDNetwork& session, const QString& path, UploadListener* listener, QString* reason)
{
    Abandon();
    m_file.setFileName(path);
    if (!QFileInfo(path).isFile() || !m_file.open(QIODevice::ReadOnly)) {
        *reason = QString("Cannot open %1 !").arg(path);
        return false;
    }
    const qint64 size = m_file.size();
    QByteArray name = path.toLocal8Bit();
    if (size < 0 || size > 0xFFFFFFFFll || !session.Fileupload(name.data(), static_cast<unsigned long>(size))) {
        m_file.close();
        *reason = QString("Cannot upload %1 !").arg(path);
        return false;
    }
    m_sessionId = session.SessionId();
    m_listener = listener;
    m_sequence.Begin(static_cast<std::uint32_t>(size));
    if (m_listener)
        m_listener->UploadProgress(0, m_sequence.Total());
    return true;
}

FileUploadDriver::End FileUploadDriver::OnNotify(CZERDNetwork& session, int code)
{
    if (session.SessionId() != m_sessionId || !m_sequence.Running())
        return End::None;
    std::optional<UploadSequence::ChunkRequest> next;
    switch (code) {
    case kNotifyUploadReady: next = m_sequence.OnReady(); break;
    case kNotifyUploadChunkAccepted: next = m_sequence.OnChunkStored(); break;
    case kNotifyUploadFailed: m_sequence.OnFailed(); break;
    case kNotifyOperationRefused:
        // A recorder that does not take uploads at all says so instead of
        // answering the start.
        if (m_sequence.GetState() != UploadSequence::State::AwaitingReady)
            return End::None;
        m_sequence.OnFailed();
        break;
    default: return End::None;
    }
    if (next)
        sendChunk(session, next->sequence);
    switch (m_sequence.GetState()) {
    case UploadSequence::State::Succeeded:
    case UploadSequence::State::Failed: {
        const bool success = m_sequence.GetState() == UploadSequence::State::Succeeded;
        m_file.close();
        m_listener = nullptr;
        return success ? End::Succeeded : End::Failed;
    }
    default: return End::None;
    }
}

void FileUploadDriver::sendChunk(CZERDNetwork& session, std::uint8_t sequence)
{
    char buffer[UploadSequence::kChunkSize];
    const qint64 count = m_file.isOpen() ? m_file.read(buffer, sizeof buffer) : -1;
    // A file that cannot be read to its end must not end as a short last chunk.
    if (count < 0) {
        m_sequence.OnFailed();
        return;
    }
    const bool last = m_sequence.ChunkRead(static_cast<std::uint32_t>(count));
    if (last)
        m_file.close();
    if (!session.WriteFileChunk(buffer, static_cast<int>(count), sequence, last ? 1 : 0)) {
        m_sequence.OnFailed();
        return;
    }
    if (m_listener)
        m_listener->UploadProgress(m_sequence.Uploaded(), m_sequence.Total());
}

void FileUploadDriver::Abandon()
{
    m_file.close();
    m_listener = nullptr;
    m_sequence = UploadSequence();
}
