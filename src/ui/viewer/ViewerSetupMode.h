#pragma once

#include "core/msg/WindowMessage.h"
#include "ui/setup/FileUploadDriver.h"
#include "ui/setup/SetupSession.h"
#include "ui/video/VideoWindowState.h"

class CChannelPosDlg;
class CRenderWnd;
class ChannelAudioControl;
class CSetupDVRSetup;
class CWindowTimers;
class LiveVideoSwitch;
class QWidget;
struct ViewerSessions;

// The main window's remote setup of the current recorder: it opens the setup
// host over the video pane, serves its pages (section writes, uploads, the
// controls a page turns off) and gives the window back when the host closes.
class ViewerSetupMode : public SetupSession {
public:
    struct Parts {
        QWidget* window;
        HWND handle;  // where message 5024 goes
        ViewerSessions& sessions;
        VideoWindowState& state;
        CWindowTimers& timers;
        ChannelAudioControl& controls;
        CChannelPosDlg& layoutPanel;
        LiveVideoSwitch& live;
        CRenderWnd& video;
    };

    explicit ViewerSetupMode(Parts parts);
    ~ViewerSetupMode() override;
    ViewerSetupMode(const ViewerSetupMode&) = delete;
    ViewerSetupMode& operator=(const ViewerSetupMode&) = delete;

    // Opens the setup on the current session's block; false (nothing opens)
    // while the session has no block yet.
    bool Open();
    bool IsOpen() const;
    CSetupDVRSetup& Host() { return *m_host; }

    // New masks of session `index` while the setup is open: its pages edit
    // the session's current block.
    void MasksChanged(int index);
    // Message 5024.
    void OnSetupClosed();
    // A click in the video window while it is the camera page's preview
    // (message 2457, or 2468 from a paired recorder).
    void OnPreviewClick(unsigned message, int x, int y);
    // Session `index` is being closed.
    void SessionLeaving(int index);
    // An upload notification (or a refused operation) of the session with
    // this identity.
    void OnUploadNotify(unsigned sessionId, int code);
    bool UploadRunningOn(unsigned sessionId) const { return m_upload.RunningOn(sessionId); }

    bool WriteSection(SetupSectionCopies& copies, std::uint8_t section) override;
    std::uint8_t DvrTypeCode() const override;
    void PreparePage() override;
    void SetupClosed() override;
    bool StartUpload(const QString& path, UploadListener* listener, QString* reason) override;
    QWidget* LendVideoWindow(QWidget* page, const QRect& place) override;
    void ShowPreviewChannel(int channel, MP4MUL_RenderCallback draw, void* context) override;
    void StartPreviewVideo() override;

private:
    void setWindowControls(bool enabled);
    // The current recorder's cameras show again, as after new masks.
    void startCurrentLive();

    Parts m_parts;
    CSetupDVRSetup* m_host;
    FileUploadDriver m_upload;
    // The camera page, the last one opened, has the video window.
    bool m_videoLent = false;
};
