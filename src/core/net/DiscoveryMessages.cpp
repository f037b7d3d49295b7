#include "core/net/DiscoveryMessages.h"

#include "core/net/ByteCursor.h"

namespace wire {

std::vector<uint8_t> DiscoveryProbeMessage::Encode() const
{
    return ByteWriter(8).U32(probeId).Pad(4).Take();
}

std::optional<DiscoveryProbeMessage> DiscoveryProbeMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    DiscoveryProbeMessage m;
    m.probeId = r.U32();
    r.Skip(4);
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> DiscoveryAnswerMessage::Encode() const
{
    return ByteWriter(4 + record.size()).U32(probeId).Bytes(record.data(), record.size()).Take();
}

std::optional<DiscoveryAnswerMessage> DiscoveryAnswerMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    DiscoveryAnswerMessage m;
    m.probeId = r.U32();
    r.Copy(m.record.data(), m.record.size());
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

}  // namespace wire
