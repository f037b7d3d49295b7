#pragma once

#include "core/servers/ServerSelectHost.h"

#include <string>

class LiveViewer;

// What the server selection dialog asks of the main window, answered from
// its sessions.
class MainWindowServerHost : public ServerSelectHost {
public:
    explicit MainWindowServerHost(LiveViewer& viewer) : m_viewer(viewer) {}

    bool IsLiveRunning() const override;
    std::vector<std::string> OpenServerNames() const override;
    int LiveChannelsInUse() const override;
    int FirstSlotDvrType() const override;
    void SetCurrentServerName(const std::string& name) override { m_currentServerName = name; }
    void SetCredentials(const std::string& account, const std::string& password) override;
    bool Connect(const std::string& address, const std::string& port, const std::string& protocol,
                 const std::string& account, const std::string& password, const ServerDescriptor& server) override;
    void SetCurrentServerType(const std::string& dvrType, const ServerDescriptor& server) override;

    const std::string& CurrentServerName() const { return m_currentServerName; }
    const std::string& Account() const { return m_account; }

private:
    LiveViewer& m_viewer;
    std::string m_currentServerName;
    std::string m_account;
    std::string m_password;
};
