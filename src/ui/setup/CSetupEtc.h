#pragma once

#include "ui/setup/CSetupPage.h"
#include "ui/setup/SetupSession.h"

#include <functional>

class CMacProgressCtrl;
class QLineEdit;

// The File Upload page: choose a file, upload it to the recorder and watch
// the bytes go.
class CSetupEtc : public CSetupPage, public UploadListener {
    Q_OBJECT
public:
    static constexpr int kBrowse = 1035;
    static constexpr int kUpload = 1036;
    static constexpr int kPath = 1500;
    static constexpr int kProgress = 1501;
    static constexpr int kStatus = 1502;
    static constexpr int kStrUploaded = 6046;
    static constexpr int kStrUploadFailed = 6047;
    static constexpr QSize kSize{510, 143};

    CSetupEtc(SetupSession& session, SetupSectionCopies& copies, QWidget* parent);

    // What "browse" asks the operator for: a file path, empty when none was
    // chosen. The page starts with the file-open dialog.
    void SetFileChooser(std::function<QString(QWidget*)> choose) { m_choose = std::move(choose); }

    void Browse();
    void Upload();
    // The size of the file chosen last (0 when it could not be opened).
    qint64 ChosenSize() const { return m_chosenSize; }

    void UploadProgress(std::uint32_t uploaded, std::uint32_t total) override;
    void UploadEnded(bool success) override;

private:
    std::function<QString(QWidget*)> m_choose;
    qint64 m_chosenSize = 0;
    QLineEdit* m_path;
    CMacProgressCtrl* m_progress;
    QLineEdit* m_status;
};
