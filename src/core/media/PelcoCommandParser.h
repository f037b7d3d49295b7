#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Reads Pelco-D and Pelco-P camera commands from the bytes a recorder writes
// to its serial line. The viewer ends each command with a trailer 'a' 'a'
// <channel>; commands from elsewhere come without it. Bytes may arrive in any
// chunking and mixed with noise: anything that is no valid command is skipped.

namespace media {

enum class PelcoProtocol { D, P };

struct PtzCommand {
    PelcoProtocol protocol = PelcoProtocol::D;
    uint8_t address = 0;  // camera address on the line, as sent
    int channel = -1;     // 0-based channel from the viewer's trailer, -1 without one
    bool extended = false;  // preset and auxiliary commands; the fields below are then unset
    bool panLeft = false;
    bool panRight = false;
    bool tiltUp = false;
    bool tiltDown = false;
    bool zoomIn = false;
    bool zoomOut = false;
    bool focusNear = false;
    bool focusFar = false;
    bool irisOpen = false;
    bool irisClose = false;
    uint8_t panSpeed = 0;
    uint8_t tiltSpeed = 0;

    bool Moves() const { return panLeft || panRight || tiltUp || tiltDown || zoomIn || zoomOut; }
};

class PelcoCommandParser {
public:
    // The commands completed by these bytes, in order. A command whose
    // trailer may still be arriving is held until the next bytes decide.
    std::vector<PtzCommand> Feed(const uint8_t* data, size_t size);

    size_t SkippedBytes() const { return skipped_; }

private:
    void Parse(std::vector<PtzCommand>* out);

    std::vector<uint8_t> buffer_;        // between calls: an unfinished command or trailer, at most 7 bytes
    std::optional<PtzCommand> pending_;  // a complete command whose trailer is unfinished
    size_t skipped_ = 0;
};

}  // namespace media
