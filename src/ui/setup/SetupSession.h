#pragma once

#include "platform/decoder/MPEG4MultiDecoder.h"

#include <QRect>
#include <QString>

#include <cstdint>

class QWidget;
class SetupSectionCopies;

// The File Upload page hears how its upload goes.
class UploadListener {
public:
    virtual ~UploadListener() = default;
    virtual void UploadProgress(std::uint32_t uploaded, std::uint32_t total) = 0;
    // The recorder stored the whole file, or the upload failed.
    virtual void UploadEnded(bool success) = 0;
};

// What the setup host and its pages ask of the main window, always about
// the current session.
class SetupSession {
public:
    virtual ~SetupSession() = default;

    // Writes one section from the working copy through the current session
    // (the copies then follow the section rules); false when the network
    // library did not take it or there is no session.
    virtual bool WriteSection(SetupSectionCopies& copies, std::uint8_t section) = 0;
    // The current recorder's type code (0 without a session).
    virtual std::uint8_t DvrTypeCode() const = 0;
    // A page is being shown: live video stops, the channel and audio buttons
    // and the layout buttons 4001..4006 go off.
    virtual void PreparePage() = 0;
    // The setup closed (message 5024 to the main window).
    virtual void SetupClosed() = 0;
    // Starts uploading the file at `path` (its base name is what the recorder
    // gets). False with the reason when the file cannot be read or the upload
    // cannot start; then nothing was sent.
    virtual bool StartUpload(const QString& path, UploadListener* listener, QString* reason) = 0;

    // The Camera page's preview: the main window's video window, placed in
    // `page` at `place`; null when there is none to lend.
    virtual QWidget* LendVideoWindow(QWidget* /*page*/, const QRect& /*place*/) { return nullptr; }
    // The lent window shows `channel` alone with `draw` over its picture.
    virtual void ShowPreviewChannel(int /*channel*/, MP4MUL_RenderCallback /*draw*/, void* /*context*/) {}
    // The preview's pictures start: live video of the current recorder.
    virtual void StartPreviewVideo() {}
};
