#include "core/media/PelcoCommandParser.h"

#include <cstddef>

namespace media {
namespace {

constexpr uint8_t kPelcoDSync = 0xFF;
constexpr size_t kPelcoDSize = 7;
constexpr uint8_t kPelcoPStart = 0xA0;
constexpr uint8_t kPelcoPEnd = 0xAF;
constexpr size_t kPelcoPSize = 8;
constexpr uint8_t kTrailerMark = 'a';
constexpr size_t kTrailerSize = 3;

// Both protocols share the layout of the direction byte; bit 0 set marks an
// extended (preset or auxiliary) command.
void ReadDirections(uint8_t bits, PtzCommand* command)
{
    command->extended = (bits & 0x01) != 0;
    if (command->extended)
        return;
    command->panRight = (bits & 0x02) != 0;
    command->panLeft = (bits & 0x04) != 0;
    command->tiltUp = (bits & 0x08) != 0;
    command->tiltDown = (bits & 0x10) != 0;
    command->zoomIn = (bits & 0x20) != 0;
    command->zoomOut = (bits & 0x40) != 0;
}

// FF addr cmd1 cmd2 data1 data2 sum, sum = (addr+cmd1+cmd2+data1+data2) mod 256.
std::optional<PtzCommand> ReadPelcoD(const uint8_t* p)
{
    const uint8_t sum = static_cast<uint8_t>(p[1] + p[2] + p[3] + p[4] + p[5]);
    if (sum != p[6])
        return std::nullopt;
    PtzCommand command;
    command.protocol = PelcoProtocol::D;
    command.address = p[1];
    ReadDirections(p[3], &command);
    if (!command.extended) {
        command.focusFar = (p[3] & 0x80) != 0;
        command.focusNear = (p[2] & 0x01) != 0;
        command.irisOpen = (p[2] & 0x02) != 0;
        command.irisClose = (p[2] & 0x04) != 0;
        command.panSpeed = p[4];
        command.tiltSpeed = p[5];
    }
    return command;
}

// A0 addr data1 data2 data3 data4 AF xor, xor over the seven bytes before it.
std::optional<PtzCommand> ReadPelcoP(const uint8_t* p)
{
    uint8_t check = 0;
    for (size_t i = 0; i < 7; ++i)
        check ^= p[i];
    if (p[6] != kPelcoPEnd || check != p[7])
        return std::nullopt;
    PtzCommand command;
    command.protocol = PelcoProtocol::P;
    command.address = p[1];
    ReadDirections(p[3], &command);
    if (!command.extended) {
        command.focusFar = (p[2] & 0x01) != 0;
        command.focusNear = (p[2] & 0x02) != 0;
        command.irisOpen = (p[2] & 0x04) != 0;
        command.irisClose = (p[2] & 0x08) != 0;
        command.panSpeed = p[4];
        command.tiltSpeed = p[5];
    }
    return command;
}

}  // namespace

std::vector<PtzCommand> PelcoCommandParser::Feed(const uint8_t* data, size_t size)
{
    std::vector<PtzCommand> commands;
    if (size == 0)
        return commands;
    buffer_.insert(buffer_.end(), data, data + size);
    Parse(&commands);
    return commands;
}

void PelcoCommandParser::Parse(std::vector<PtzCommand>* out)
{
    size_t pos = 0;
    const size_t end = buffer_.size();
    while (pos < end) {
        const size_t available = end - pos;
        if (pending_) {
            // A trailer is 'a' 'a' <channel>; with fewer bytes at hand than
            // that, wait while what is there still looks like one.
            const bool marks = buffer_[pos] == kTrailerMark && (available < 2 || buffer_[pos + 1] == kTrailerMark);
            if (marks && available < kTrailerSize)
                break;
            if (marks) {
                pending_->channel = buffer_[pos + 2];
                pos += kTrailerSize;
            }
            out->push_back(*pending_);
            pending_.reset();
            continue;
        }
        std::optional<PtzCommand> command;
        size_t commandSize = 1;
        if (buffer_[pos] == kPelcoDSync) {
            if (available < kPelcoDSize)
                break;
            command = ReadPelcoD(&buffer_[pos]);
            commandSize = kPelcoDSize;
        } else if (buffer_[pos] == kPelcoPStart) {
            if (available < kPelcoPSize)
                break;
            command = ReadPelcoP(&buffer_[pos]);
            commandSize = kPelcoPSize;
        }
        if (!command) {
            ++skipped_;
            ++pos;
            continue;
        }
        pos += commandSize;
        if (pos == end) {
            // The chunk ends with the command: whoever sent it sent no trailer.
            out->push_back(*command);
        } else {
            pending_ = command;
        }
    }
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(pos));
}

}  // namespace media
