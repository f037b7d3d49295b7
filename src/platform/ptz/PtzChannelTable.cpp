#include "platform/ptz/PtzChannelTable.h"

#include "core/ptz/PtzPacket.h"

#include <utility>

namespace {

template <typename Fn>
Fn EntryAs(void* address)
{
    return reinterpret_cast<Fn>(address);
}

} // namespace

PtzChannelTable::PtzChannelTable(void* window, std::string folder, Sender send, Reporter report)
    : m_window(window), m_folder(std::move(folder)), m_send(std::move(send)), m_report(std::move(report))
{
}

void PtzChannelTable::LoadDriver(int channel, const std::string& name, std::uint8_t ptzId)
{
    if (name.empty() || channel < 0 || channel >= kChannels)
        return;
    Row& row = m_rows[static_cast<std::size_t>(channel)];
    row.name = name;
    if (row.library) {
        row.library.reset();
        row.entries.fill(nullptr);
        row.ptzId = 0;
    }
    PtzDriverLibrary::Failure failure = PtzDriverLibrary::Failure::None;
    std::string reason;
    row.library = PtzDriverLibrary::Open(m_folder + "/" + name, &failure, &reason);
    if (row.library) {
        for (std::size_t i = 0; i < ptz::kEntryCount; ++i)
            row.entries[i] = row.library->Symbol(ptz::kEntryNames[i]);
        row.ptzId = ptzId;
    } else if (failure == PtzDriverLibrary::Failure::NotLoadable && m_reportedNames.insert(name).second) {
        m_report("PTZ driver " + name + " cannot be loaded: " + reason);
    }
    row.speed = kLoadSpeed;
    callSpeed(row, kLoadSpeed);
}

void PtzChannelTable::SetSelected(int channel)
{
    if (channel >= 0 && channel < kChannels)
        m_selected = channel;
}

bool PtzChannelTable::HasDriver(int channel) const
{
    return channel >= 0 && channel < kChannels && m_rows[static_cast<std::size_t>(channel)].library != nullptr;
}

bool PtzChannelTable::SelectedHasDriver() const { return HasDriver(m_selected); }

void PtzChannelTable::SetSpeed(unsigned speed)
{
    Row* row = selectedRow();
    if (!row)
        return;
    row->speed = speed;
    callSpeed(*row, speed);
}

unsigned PtzChannelTable::SpeedOf(int channel) const
{
    return channel >= 0 && channel < kChannels ? m_rows[static_cast<std::size_t>(channel)].speed : 0;
}

bool PtzChannelTable::Issue(ptz::Command command)
{
    const Row* row = selectedRow();
    if (!row)
        return true;
    auto entry = EntryAs<ptz::CommandFn>(row->entries[ptz::IndexOf(ptz::EntryOf(command))]);
    std::function<int(unsigned char*)> write;
    if (entry)
        write = [this, entry, row](unsigned char* buffer) { return entry(m_window, row->ptzId, buffer); };
    return send(*row, write);
}

bool PtzChannelTable::Preset(ptz::PresetAction action, unsigned preset)
{
    const Row* row = selectedRow();
    if (!row)
        return true;
    // A preset the camera has no slot for is refused before the driver is asked.
    const auto maxSlot = EntryAs<ptz::MaxPresetSlotFn>(row->entries[ptz::IndexOf(ptz::Entry::MaxPresetSlot)]);
    if (preset < 1 || (maxSlot && preset > static_cast<unsigned>(maxSlot(m_window))))
        return false;
    auto entry = EntryAs<ptz::PresetFn>(row->entries[ptz::IndexOf(ptz::EntryOf(action))]);
    std::function<int(unsigned char*)> write;
    if (entry)
        write = [this, entry, row, preset](unsigned char* buffer) {
            return entry(m_window, row->ptzId, buffer, preset);
        };
    return send(*row, write);
}

PtzChannelTable::Row* PtzChannelTable::selectedRow()
{
    return m_selected >= 0 ? &m_rows[static_cast<std::size_t>(m_selected)] : nullptr;
}

bool PtzChannelTable::send(const Row& row, const std::function<int(unsigned char*)>& write)
{
    const auto interfaceType = EntryAs<ptz::InterfaceTypeFn>(row.entries[ptz::IndexOf(ptz::Entry::InterfaceType)]);
    ptz::PtzPacket packet = ptz::BuildPtzPacket(interfaceType, m_window, static_cast<std::uint8_t>(m_selected), write);
    switch (packet.status) {
    case ptz::PacketStatus::NoEntry:
        return true;
    case ptz::PacketStatus::BadCount:
        m_report("PTZ driver " + row.name + " returned " + std::to_string(packet.driverCount) +
                 " bytes; the command was dropped");
        return false;
    case ptz::PacketStatus::Ready:
        m_send(packet.bytes.data(), packet.length);
        return true;
    }
    return true;
}

void PtzChannelTable::callSpeed(const Row& row, unsigned speed)
{
    if (auto entry = EntryAs<ptz::SpeedFn>(row.entries[ptz::IndexOf(ptz::Entry::Speed)]))
        entry(m_window, speed);
}
