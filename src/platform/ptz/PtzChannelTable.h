#pragma once

#include "core/ptz/PtzEntryPoints.h"
#include "platform/ptz/PtzDriverLibrary.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

// The PTZ driver of each of the 16 channels of the current server, and the
// commands for the selected channel: the driver writes the bytes, the trailer
// names the channel, and the packet goes to the recorder's serial line.
class PtzChannelTable {
public:
    static constexpr int kChannels = 16;
    static constexpr unsigned kLoadSpeed = 40;

    // Hands a packet to the recorder (PutSerialPortData on the current session).
    using Sender = std::function<void(unsigned char* data, int length)>;
    // Shows a status line.
    using Reporter = std::function<void(const std::string& line)>;

    // window is handed to every driver call; folder holds the drivers.
    PtzChannelTable(void* window, std::string folder, Sender send, Reporter report);

    // Frees the channel's previous driver, then loads the one named (nothing
    // for an empty name). A missing file gives no driver silently; a file that
    // is no loadable library gives no driver and one status line per name.
    void LoadDriver(int channel, const std::string& name, std::uint8_t ptzId);

    void SetSelected(int channel);
    int Selected() const { return m_selected; }
    // The selected channel has a driver loaded.
    bool SelectedHasDriver() const;
    bool HasDriver(int channel) const;

    // Stores the speed for the selected channel and hands it to its driver.
    void SetSpeed(unsigned speed);
    unsigned SpeedOf(int channel) const;

    // Sends the command for the selected channel. True unless the driver
    // gave a count it cannot have (the command is then dropped, with a status
    // line); nothing is sent when no channel is selected or the entry is missing.
    bool Issue(ptz::Command command);
    // Our drivers' preset commands, preset numbered from 1 up to the
    // driver's MaxPresetSlot; false, sending nothing, outside that.
    bool Preset(ptz::PresetAction action, unsigned preset);

private:
    struct Row {
        std::unique_ptr<PtzDriverLibrary> library;
        std::string name;
        std::array<void*, ptz::kEntryCount> entries{};
        std::uint8_t ptzId = 0;
        unsigned speed = 0;
    };

    Row* selectedRow();
    bool send(const Row& row, const std::function<int(unsigned char*)>& write);
    void callSpeed(const Row& row, unsigned speed);

    void* m_window;
    std::string m_folder;
    Sender m_send;
    Reporter m_report;
    std::array<Row, kChannels> m_rows;
    int m_selected = -1;
    std::set<std::string> m_reportedNames;  // drivers whose loading failure was shown
};
