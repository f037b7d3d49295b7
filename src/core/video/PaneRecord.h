#pragma once

#include <array>

#include "core/video/PaneRect.h"

// What a pane shows: for each of the 16 servers a table of 16 camera numbers
// with in-use flags, and the server that last started live on it.
class PaneRecord {
public:
    static constexpr int kServers = 16;
    static constexpr int kEntries = 16;

    PaneRect rect = kHiddenPane;

    PaneRecord();

    // Pane index `entry` of `server` shows `camera`; the server becomes the owner.
    void Assign(int server, int entry, int camera);
    // Forgets every camera of the server.
    void ClearServer(int server);
    // The first camera in use in the owning server's table; -1 when none.
    int ShownCamera() const;
    int OwningServer() const { return m_owningServer; }
    int Camera(int server, int entry) const;
    bool InUse(int server, int entry) const;

private:
    static bool Valid(int server, int entry)
    {
        return server >= 0 && server < kServers && entry >= 0 && entry < kEntries;
    }

    std::array<std::array<int, kEntries>, kServers> m_cameras;
    std::array<std::array<bool, kEntries>, kServers> m_inUse{};
    int m_owningServer = -1;
};
