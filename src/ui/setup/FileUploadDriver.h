#pragma once

#include "core/setup/UploadSequence.h"

#include <QFile>
#include <QString>

class CZERDNetwork;
class UploadListener;

// The main window's side of a file upload: the open file, the chunk
// sequence, and the session it runs on, known by identity so it survives
// rows moving. One upload at a time.
class FileUploadDriver {
public:
    enum class End { None, Succeeded, Failed };

    // Opens the file and asks the recorder to take it. False, with the
    // reason and nothing sent, when the file cannot be opened or the upload
    // cannot start.
    bool Start(CZERDNetwork& session, const QString& path, UploadListener* listener, QString* reason);
    // Notification 132, 133 or 134 from the session the upload runs on; 113
    // ends an upload the recorder has not yet agreed to. Progress goes to the
    // listener; how the upload ended is returned for the caller to tell it
    // (after the session is polled again).
    End OnNotify(CZERDNetwork& session, int code);
    UploadListener* Listener() const { return m_listener; }
    bool RunningOn(unsigned sessionId) const { return m_sequence.Running() && sessionId == m_sessionId; }
    // The session went: the file closes and nobody is told.
    void Abandon();

private:
    void sendChunk(CZERDNetwork& session, std::uint8_t sequence);

    unsigned m_sessionId = 0;
    QFile m_file;
    UploadSequence m_sequence;
    UploadListener* m_listener = nullptr;
};
