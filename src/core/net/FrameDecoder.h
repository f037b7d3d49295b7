#pragma once
// Incremental frame decoder: fed byte chunks of any size and split, it yields
// whole frames or one precise error. Checks run as soon as their bytes are in
// (magic, version, type for the direction, length bounds, sequence), so a bad
// header is refused before its payload is buffered. Once in error it stays
// there and ignores further bytes: the connection is to be closed.

#include "core/net/Frame.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wire {

enum class DecodeError : uint8_t {
    None,
    BadMagic,
    VersionMismatch,
    UnknownType,   // not a type, or a type of the other direction
    BadLength,     // payload length outside the type's bounds
    BadSequence,   // not the next sequence number
};

std::string_view DecodeErrorName(DecodeError error);

class FrameDecoder {
public:
    enum class Status { Frame, NeedMore, Error };

    // incoming: the direction of the frames this decoder reads.
    explicit FrameDecoder(Direction incoming, bool checkSequence = true);

    // Buffers the bytes. Drain Next() until it says NeedMore before feeding
    // again, so the buffer never holds more than one chunk and one frame.
    void Feed(const uint8_t* data, size_t length);
    // The next whole frame (valid until the next Feed or Next), NeedMore, or
    // Error (see error()).
    Status Next(FrameView& frame);

    DecodeError error() const { return error_; }
    // The version field of the frame that failed with VersionMismatch.
    uint16_t peerVersion() const { return peerVersion_; }
    // The type number of the failing frame, when the header got that far.
    uint16_t failedType() const { return failedType_; }
    // A one-line description of the error for logs.
    std::string ErrorText() const;
    // Bytes buffered and not yet returned as a frame.
    size_t Pending() const { return buffer_.size() - readPos_; }

private:
    DecodeError CheckHeader(const uint8_t* header, size_t available);
    void Fail(DecodeError error);

    Direction incoming_;
    bool checkSequence_;
    uint32_t expectedSequence_ = 0;
    std::vector<uint8_t> buffer_;
    size_t readPos_ = 0;
    DecodeError error_ = DecodeError::None;
    uint16_t peerVersion_ = 0;
    uint16_t failedType_ = 0;
};

// One UDP datagram = one frame, nothing before or after it; the sequence is
// not checked. DecodeError::None and frame filled on success; BadLength also
// for a datagram whose size is not header + length.
DecodeError DecodeDatagram(const uint8_t* data, size_t length, Direction incoming, FrameView& frame);

}  // namespace wire
