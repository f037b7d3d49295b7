#pragma once

#include "core/viewer/ServerDescriptor.h"

#include <string>
#include <vector>

// What the server selection dialog asks of the main window.
class ServerSelectHost {
public:
    virtual ~ServerSelectHost() = default;

    // Live display is running on the current session.
    virtual bool IsLiveRunning() const = 0;
    // The server name of each row of the connected-server list, in row order.
    virtual std::vector<std::string> OpenServerNames() const = 0;
    // Live channels in use, summed over every open server.
    virtual int LiveChannelsInUse() const = 0;
    // The DVR type code (1..6) of the first open server's settings block;
    // 0 while none has arrived.
    virtual int FirstSlotDvrType() const = 0;

    // The server the operator picked becomes the current server name.
    virtual void SetCurrentServerName(const std::string& name) = 0;
    // The session credentials, handed over before connecting.
    virtual void SetCredentials(const std::string& account, const std::string& password) = 0;
    // Opens a session on the next free slot with the texts of a server
    // record; on success the slot keeps the descriptor, its row is listed and
    // timer 135 is started. True when the session was opened.
    virtual bool Connect(const std::string& address, const std::string& port, const std::string& protocol,
                         const std::string& account, const std::string& password,
                         const ServerDescriptor& server) = 0;
    // After a successful connect: the current slot's model name and texts.
    virtual void SetCurrentServerType(const std::string& dvrType, const ServerDescriptor& server) = 0;
};
