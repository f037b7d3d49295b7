#pragma once

#include "core/ddns/DdnsProtocol.h"
#include "core/servers/ServerRecord.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>

class ConfigListTable;
class ServerSelectHost;

// The registered server list: a double-click on a row connects the main
// window to that recorder, resolving a DDNS name first. Runs modally and
// keeps nothing between runs.
class CServerSelect : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 142;
    static constexpr int kServerList = 213;

    explicit CServerSelect(ServerSelectHost& host, QWidget* parent = nullptr);

    // The port DDNS servers are asked on (tests run their own server).
    void SetDdnsServerPort(std::uint16_t port) { m_ddnsPort = port; }
    int ServerCount() const { return m_serverCount; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillList();
    void pick();
    // The resolved dotted address; empty after telling the user why not.
    std::optional<std::string> resolve(const ServerRecord& record);
    void connectTo(const ServerRecord& record, const std::string& address);

    ServerSelectHost& m_host;
    ConfigListTable* m_list;
    int m_serverCount = 0;
    std::uint16_t m_ddnsPort = ddns::kServerPort;
};
