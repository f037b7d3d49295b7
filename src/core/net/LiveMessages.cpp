#include "core/net/LiveMessages.h"

#include "core/net/ByteCursor.h"

namespace wire {

std::vector<uint8_t> LiveControlMessage::Encode() const
{
    return ByteWriter(8).U16(videoMask).U16(audioMask).U16(udpPort).Pad(2).Take();
}

std::optional<LiveControlMessage> LiveControlMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    LiveControlMessage m;
    m.videoMask = r.U16();
    m.audioMask = r.U16();
    m.udpPort = r.U16();
    r.Skip(2);
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> LiveReplyMessage::Encode() const
{
    return ByteWriter(4).U16(videoMask).U16(audioMask).Take();
}

std::optional<LiveReplyMessage> LiveReplyMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    LiveReplyMessage m;
    m.videoMask = r.U16();
    m.audioMask = r.U16();
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

namespace {

// packet = [count][index][payload...]
std::optional<LiveFragmentView> CheckFragment(uint8_t type, const uint8_t* packet, size_t length)
{
    if ((type != kPacketVideo && type != kPacketAudio) || length < 3)
        return std::nullopt;
    LiveFragmentView v;
    v.packetType = type;
    v.count = packet[0];
    v.index = packet[1];
    v.packet = packet;
    v.packetLength = static_cast<uint32_t>(length);
    if (v.count == 0 || v.index >= v.count)
        return std::nullopt;
    return v;
}

}  // namespace

std::optional<LiveFragmentView> DecodeLiveMedia(const uint8_t* data, size_t length)
{
    if (length < kLiveMediaPrefix + 1 || length > kMaxPayload)
        return std::nullopt;
    return CheckFragment(data[0], data + 1, length - 1);
}

void WriteLiveMediaPrefix(uint8_t* out, uint8_t packetType, uint8_t count, uint8_t index)
{
    out[0] = packetType;
    out[1] = count;
    out[2] = index;
}

std::optional<SealedDatagramView> DecodeSealedDatagram(const uint8_t* data, size_t length)
{
    if (length < kMinSealedDatagramPayload || length > kMaxPayload)
        return std::nullopt;
    ByteReader r(data, length);
    SealedDatagramView v;
    v.token = r.U32();
    v.counter = r.U64();
    v.sealed = data + kSealedDatagramPrefix;
    v.sealedLength = length - kSealedDatagramPrefix;
    return v;
}

void WriteSealedDatagramPrefix(uint8_t* out, uint32_t token, uint64_t counter)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(token >> (8 * i));
    for (int i = 0; i < 8; ++i)
        out[4 + i] = static_cast<uint8_t>(counter >> (8 * i));
}

uint32_t FragmentPlan::FragmentLength(uint32_t index, uint32_t unitLength) const
{
    if (index >= count)
        return 0;
    const uint32_t start = index * fragmentSize;
    const uint32_t rest = unitLength - start;
    return rest < fragmentSize ? rest : fragmentSize;
}

FragmentPlan PlanFragments(size_t unitLength)
{
    FragmentPlan plan;
    if (unitLength == 0 || unitLength > kMaxLiveUnit)
        return plan;
    size_t size = kLiveFragmentPayload;
    if (unitLength > 255 * kLiveFragmentPayload)
        size = (unitLength + 254) / 255;
    plan.fragmentSize = static_cast<uint32_t>(size);
    plan.count = static_cast<uint32_t>((unitLength + size - 1) / size);
    return plan;
}

}  // namespace wire
