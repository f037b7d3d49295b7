#include "core/video/PaneRecord.h"

PaneRecord::PaneRecord()
{
    for (auto& table : m_cameras)
        table.fill(-1);
}

void PaneRecord::Assign(int server, int entry, int camera)
{
    if (!Valid(server, entry))
        return;
    m_cameras[server][entry] = camera;
    m_inUse[server][entry] = true;
    m_owningServer = server;
}

void PaneRecord::ClearServer(int server)
{
    if (server < 0 || server >= kServers)
        return;
    m_cameras[server].fill(-1);
    m_inUse[server].fill(false);
}

int PaneRecord::ShownCamera() const
{
    if (m_owningServer < 0)
        return -1;
    for (int i = 0; i < kEntries; ++i)
        if (m_inUse[m_owningServer][i])
            return m_cameras[m_owningServer][i];
    return -1;
}

int PaneRecord::Camera(int server, int entry) const
{
    return Valid(server, entry) ? m_cameras[server][entry] : -1;
}

bool PaneRecord::InUse(int server, int entry) const
{
    return Valid(server, entry) && m_inUse[server][entry];
}
