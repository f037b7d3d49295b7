#include "core/net/FrameDecoder.h"

#include <cstring>

namespace wire {
namespace {

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) { return Read16(p) | (static_cast<uint32_t>(Read16(p + 2)) << 16); }

// Checks as much of a header as is available (available may be short).
// Sequence checking is left to the caller.
DecodeError CheckHeaderPrefix(const uint8_t* h, size_t available, Direction incoming, uint16_t* version,
                              uint16_t* type)
{
    const size_t magicBytes = available < 4 ? available : 4;
    if (std::memcmp(h, kMagic, magicBytes) != 0)
        return DecodeError::BadMagic;
    if (available < 6)
        return DecodeError::None;
    *version = Read16(h + 4);
    if (*version != kProtocolVersion)
        return DecodeError::VersionMismatch;
    if (available < 8)
        return DecodeError::None;
    *type = Read16(h + 6);
    if (!IsKnownType(*type, incoming))
        return DecodeError::UnknownType;
    if (available < kHeaderSize)
        return DecodeError::None;
    const uint32_t length = Read32(h + 12);
    const PayloadBounds bounds = BoundsOf(static_cast<MessageType>(*type));
    if (length < bounds.min || length > bounds.max)
        return DecodeError::BadLength;
    return DecodeError::None;
}

}  // namespace

std::string_view DecodeErrorName(DecodeError error)
{
    switch (error) {
    case DecodeError::None: return "none";
    case DecodeError::BadMagic: return "bad magic";
    case DecodeError::VersionMismatch: return "protocol version mismatch";
    case DecodeError::UnknownType: return "unknown message type";
    case DecodeError::BadLength: return "payload length out of bounds";
    case DecodeError::BadSequence: return "sequence number out of order";
    }
    return "unknown error";
}

FrameDecoder::FrameDecoder(Direction incoming, bool checkSequence)
    : incoming_(incoming), checkSequence_(checkSequence)
{
}

void FrameDecoder::Feed(const uint8_t* data, size_t length)
{
    if (error_ != DecodeError::None || length == 0)
        return;
    // Drop what earlier frames used before growing the buffer.
    if (readPos_ > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(readPos_));
        readPos_ = 0;
    }
    buffer_.insert(buffer_.end(), data, data + length);
}

void FrameDecoder::Fail(DecodeError error)
{
    error_ = error;
    buffer_.clear();
    buffer_.shrink_to_fit();
    readPos_ = 0;
}

FrameDecoder::Status FrameDecoder::Next(FrameView& frame)
{
    if (error_ != DecodeError::None)
        return Status::Error;
    const uint8_t* h = buffer_.data() + readPos_;
    const size_t available = buffer_.size() - readPos_;
    if (available == 0)
        return Status::NeedMore;
    uint16_t version = 0;
    uint16_t type = 0;
    const DecodeError headerError = CheckHeaderPrefix(h, available, incoming_, &version, &type);
    if (headerError != DecodeError::None) {
        peerVersion_ = version;
        failedType_ = type;
        Fail(headerError);
        return Status::Error;
    }
    if (available < kHeaderSize)
        return Status::NeedMore;
    const uint32_t sequence = Read32(h + 8);
    if (checkSequence_ && sequence != expectedSequence_) {
        failedType_ = type;
        Fail(DecodeError::BadSequence);
        return Status::Error;
    }
    const uint32_t length = Read32(h + 12);
    if (available - kHeaderSize < length)
        return Status::NeedMore;
    frame.type = static_cast<MessageType>(type);
    frame.version = version;
    frame.sequence = sequence;
    frame.payload = h + kHeaderSize;
    frame.length = length;
    readPos_ += kHeaderSize + length;
    ++expectedSequence_;
    return Status::Frame;
}

std::string FrameDecoder::ErrorText() const
{
    std::string text(DecodeErrorName(error_));
    if (error_ == DecodeError::VersionMismatch)
        text += " (peer version " + std::to_string(peerVersion_) + ")";
    else if (error_ == DecodeError::UnknownType)
        text += " (" + std::to_string(failedType_) + ")";
    else if (error_ == DecodeError::BadLength || error_ == DecodeError::BadSequence)
        text += std::string(" (") + std::string(TypeName(failedType_)) + ")";
    return text;
}

DecodeError DecodeDatagram(const uint8_t* data, size_t length, Direction incoming, FrameView& frame)
{
    if (length < kHeaderSize)
        return length >= 4 && std::memcmp(data, kMagic, 4) != 0 ? DecodeError::BadMagic : DecodeError::BadLength;
    uint16_t version = 0;
    uint16_t type = 0;
    const DecodeError error = CheckHeaderPrefix(data, kHeaderSize, incoming, &version, &type);
    if (error != DecodeError::None)
        return error;
    const uint32_t payloadLength = Read32(data + 12);
    if (length - kHeaderSize != payloadLength)
        return DecodeError::BadLength;
    frame.type = static_cast<MessageType>(type);
    frame.version = version;
    frame.sequence = Read32(data + 8);
    frame.payload = data + kHeaderSize;
    frame.length = payloadLength;
    return DecodeError::None;
}

}  // namespace wire
