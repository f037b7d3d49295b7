#pragma once

#include "core/servers/ServerEditPlan.h"
#include "core/servers/ServerRecord.h"

#include <QDialog>

#include <functional>

class CScanReceiver;
class CWindowTimers;
class CIpAddressEdit;
class ConfigListTable;
class QCheckBox;
class QComboBox;
class QLineEdit;
struct DiscoveryRecord;

// The configuration dialog: edits the server directory, finds recorders on
// the LAN, saves and restores the program's registry branch, and changes the
// language. Runs modally; the registry is its only memory.
class CConfigDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids.
    static constexpr int kServerName = 1059;
    static constexpr int kDvrType = 2012;
    static constexpr int kIpAddress = 1060;
    static constexpr int kAccountList = 1227;
    static constexpr int kAccountText = 1062;
    static constexpr int kPassword = 1063;
    static constexpr int kPort = 1061;
    static constexpr int kProtocol = 2013;
    static constexpr int kOtherDns = 1224;
    static constexpr int kDdnsServer = 1242;
    static constexpr int kLanguage = 1068;
    static constexpr int kScanList = 206;
    static constexpr int kServerList = 200;
    static constexpr int kScanButton = 2020;
    static constexpr int kAddButton = 1005;
    static constexpr int kModifyButton = 1006;
    static constexpr int kDeleteButton = 1007;
    static constexpr int kExitButton = 1022;
    static constexpr int kSaveButton = 208;
    static constexpr int kRestoreButton = 1026;
    static constexpr int kLanguageApplyButton = 1221;

    // Language-pack ids of the dialog's own failure news.
    static constexpr int kStrLanguageNotSaved = 7013;
    static constexpr int kStrBackupCreateFailed = 7019;
    static constexpr int kStrBackupRestoreFailed = 7020;

    // Timer whose tick reports the scan's result.
    static constexpr int kScanTimer = 2;
    static constexpr int kScanWaitMs = 2000;

    // restartForLanguage: called after a new language was stored and the
    // dialog closed, to restart the viewer in that language.
    explicit CConfigDlg(std::function<void()> restartForLanguage, QWidget* parent = nullptr);
    ~CConfigDlg() override;

    // The DDNS server address the dialog ended with ("%d.%d.%d.%d"), for the
    // main window to keep after Exit.
    QString DdnsServerText() const { return m_ddnsServerText; }

    // Restore asks for its file through this; an empty path cancels. By
    // default a file-open dialog.
    void SetRestorePathProvider(std::function<QString()> provider);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void buildControls();
    void fillModelNames();
    void fillServerList();
    void selectLanguage();
    void showDefaultDdnsServer();

    ServerForm readForm() const;
    void focusField(FormField field);
    void editServer(ServerEdit edit);
    void loadServer(int row);
    void otherDnsClicked(bool checked);

    void startScan();
    void addScanRow(const DiscoveryRecord& record);
    void scanTimerTicked(int id);
    void pickScanRow(int row);

    void saveRegistry();
    void restoreRegistry();
    void applyLanguage();
    void exitDialog();

    void inform(const QString& text);

    std::function<void()> m_restartForLanguage;
    std::function<QString()> m_restorePathProvider;
    CScanReceiver* m_scanReceiver;
    CWindowTimers* m_timers;
    ModelNameTable m_modelNames;
    QString m_ddnsServerText;
    int m_scanRows = 0;

    QLineEdit* m_serverName = nullptr;
    QComboBox* m_dvrType = nullptr;
    QLineEdit* m_ipAddress = nullptr;
    QComboBox* m_accountList = nullptr;
    QLineEdit* m_accountText = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_port = nullptr;
    QComboBox* m_protocol = nullptr;
    QCheckBox* m_otherDns = nullptr;
    CIpAddressEdit* m_ddnsServer = nullptr;
    QComboBox* m_language = nullptr;
    ConfigListTable* m_scanList = nullptr;
    ConfigListTable* m_serverList = nullptr;
};
