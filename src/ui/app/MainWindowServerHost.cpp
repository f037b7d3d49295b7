#include "ui/app/MainWindowServerHost.h"

#include "core/dvr/SettingsBlock.h"
#include "ui/viewer/LiveViewer.h"

bool MainWindowServerHost::IsLiveRunning() const
{
    return m_viewer.CurrentLive();
}

std::vector<std::string> MainWindowServerHost::OpenServerNames() const
{
    std::vector<std::string> names;
    const auto& sessions = m_viewer.Sessions();
    for (int i = 0; i < sessions.Count(); ++i)
        names.push_back(sessions.At(i).descriptor.name);
    return names;
}

int MainWindowServerHost::LiveChannelsInUse() const
{
    return m_viewer.Sessions().LiveChannelTotal();
}

int MainWindowServerHost::FirstSlotDvrType() const
{
    const auto& sessions = m_viewer.Sessions();
    if (!sessions.Has(0) || !sessions.At(0).record.hasSettings)
        return 0;
    return DvrTypeCode(sessions.At(0).record.settings);
}

void MainWindowServerHost::SetCredentials(const std::string& account, const std::string& password)
{
    m_account = account;
    m_password = password;
}

bool MainWindowServerHost::Connect(const std::string& address, const std::string& port, const std::string& protocol,
                                   const std::string& account, const std::string& password,
                                   const ServerDescriptor& server)
{
    return m_viewer.Connect(QString::fromStdString(address), QString::fromStdString(port),
                            QString::fromStdString(protocol), QString::fromStdString(account),
                            QString::fromStdString(password), server);
}

void MainWindowServerHost::SetCurrentServerType(const std::string& dvrType, const ServerDescriptor&)
{
    m_viewer.SetCurrentServerType(QString::fromStdString(dvrType));
}
