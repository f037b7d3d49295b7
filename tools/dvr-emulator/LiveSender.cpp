#include "LiveSender.h"

#include "core/media/PesPacketizer.h"
#include "core/net/Frame.h"

#include <sys/socket.h>

#include <algorithm>
#include <limits>

namespace emulator {
namespace {

// A TCP session with more than this queued is behind: its video skips to the
// next keyframe and its audio drops units instead of queueing without bound.
constexpr size_t kMaxQueuedBytes = 4 * 1024 * 1024;
// A stream this late (the process stalled) catches up without a burst.
constexpr uint64_t kMaxLagMs = 1000;
constexpr size_t kDatagramBatch = 64;

}  // namespace

LiveSender::LiveSender(media::CameraFeeds& feeds, const FaultOptions& faults, uint64_t diceSeed,
                       SendTimes& sendTimes)
    : feeds_(feeds), faults_(faults), dice_(diceSeed), sendTimes_(sendTimes)
{
}

void LiveSender::Configure(const wire::LiveReplyMessage& served, uint16_t udpPort, const sockaddr_in& peer,
                           uint32_t token, uint64_t nowMs)
{
    streams_.clear();
    udpPort_ = udpPort;
    udpTarget_ = peer;
    udpTarget_.sin_port = htons(udpPort);
    token_ = token;
    std::vector<const media::MediaLoop*> videoLoops;
    for (int c = 0; c < 16; ++c) {
        if (!(served.videoMask & (1u << c)))
            continue;
        auto loop = feeds_.Video(c);
        // Paired cameras share one picture: send it once.
        if (!loop || std::find(videoLoops.begin(), videoLoops.end(), loop.get()) != videoLoops.end())
            continue;
        videoLoops.push_back(loop.get());
        LiveStream stream(wire::kPacketVideo, c, std::move(loop), nowMs);
        if (stream.Valid())
            streams_.push_back(std::move(stream));
    }
    for (int c = 0; c < 16; ++c) {
        if (!(served.audioMask & (1u << c)))
            continue;
        LiveStream stream(wire::kPacketAudio, c, feeds_.Audio(c), nowMs);
        if (stream.Valid())
            streams_.push_back(std::move(stream));
    }
}

uint64_t LiveSender::NextDueMs() const
{
    uint64_t next = std::numeric_limits<uint64_t>::max();
    for (const LiveStream& s : streams_)
        next = std::min(next, s.NextDueMs());
    return next;
}

void LiveSender::SendDue(uint64_t nowMs, wire::RecorderConnection& connection, int udpSocket)
{
    for (LiveStream& stream : streams_) {
        while (stream.NextDueMs() <= nowMs) {
            const media::MediaUnit& unit = stream.NextUnit();
            if (nowMs - stream.NextDueMs() > kMaxLagMs) {
                stream.skipping = stream.PacketType() == wire::kPacketVideo;
                stream.Advance();
                continue;
            }
            if (stream.PacketType() == wire::kPacketVideo && unit.keyframe) {
                // A PTZ move gives the camera a new loop; take it at a keyframe.
                auto current = feeds_.Video(stream.Camera());
                if (current && current.get() != stream.Loop() && stream.SwitchTo(std::move(current)))
                    continue;
            }
            const bool behind = udpPort_ == 0 && connection.Outgoing().size() > kMaxQueuedBytes;
            if (behind && stream.PacketType() == wire::kPacketVideo)
                stream.skipping = true;
            else if (stream.skipping && unit.keyframe)
                stream.skipping = false;
            if (!behind && !stream.skipping)
                SendUnit(stream, connection, udpSocket);
            stream.Advance();
        }
    }
}

void LiveSender::CutFragments(const LiveStream& stream)
{
    const media::MediaUnit& unit = stream.NextUnit();
    const auto unitLength = static_cast<uint32_t>(unit.pes.size());
    const wire::FragmentPlan plan = wire::PlanFragments(unitLength);
    fragments_.clear();
    scratch_.clear();
    // Copies never exceed the unit plus its first fragment: reserve once so
    // pointers into scratch stay valid while the unit is cut.
    scratch_.reserve(2 * static_cast<size_t>(unitLength) + 16);
    const auto keep = [&](const uint8_t* data, uint32_t length) {
        const size_t at = scratch_.size();
        scratch_.insert(scratch_.end(), data, data + length);
        return scratch_.data() + at;
    };
    for (uint32_t i = 0; i < plan.count; ++i) {
        fragments_.push_back(Fragment{static_cast<uint8_t>(plan.count), static_cast<uint8_t>(i),
                                      unit.pes.data() + static_cast<size_t>(i) * plan.fragmentSize,
                                      plan.FragmentLength(i, unitLength), false});
    }
    if (fragments_.empty())
        return;
    // The loop's PTS starts again with each pass: restamp the copy that
    // carries the PES header.
    Fragment& first = fragments_.front();
    uint8_t* header = keep(first.payload, first.length);
    ::media::RewritePesPts(header, first.length, stream.NextPts());
    first.payload = header;
    first.copied = true;

    for (Fragment& f : fragments_) {
        if (!dice_.Roll(faults_.corruptFragmentsPercent))
            continue;
        const uint32_t at = dice_.Below(f.length + 2);
        const auto flip = static_cast<uint8_t>(1 + dice_.Below(255));
        if (at == 0) {
            f.count ^= flip;
        } else if (at == 1) {
            f.index ^= flip;
        } else {
            uint8_t* copy = f.copied ? const_cast<uint8_t*>(f.payload) : keep(f.payload, f.length);
            copy[at - 2] ^= flip;
            f.payload = copy;
            f.copied = true;
        }
    }
    for (size_t i = 0; i + 1 < fragments_.size(); ++i) {
        if (dice_.Roll(faults_.reorderFragmentsPercent)) {
            std::swap(fragments_[i], fragments_[i + 1]);
            ++i;
        }
    }
    if (faults_.dropFragmentsPercent > 0) {
        fragments_.erase(std::remove_if(fragments_.begin(), fragments_.end(),
                                        [&](const Fragment&) { return dice_.Roll(faults_.dropFragmentsPercent); }),
                         fragments_.end());
    }
}

void LiveSender::SendUnit(LiveStream& stream, wire::RecorderConnection& connection, int udpSocket)
{
    CutFragments(stream);
    if (udpPort_ == 0) {
        for (const Fragment& f : fragments_)
            connection.AppendLiveMedia(stream.PacketType(), f.count, f.index, f.payload, f.length);
    } else {
        SendDatagrams(stream.PacketType(), udpSocket);
    }
    if (stream.PacketType() == wire::kPacketVideo)
        sendTimes_.UnitQueued(stream.Camera(), stream.NextPts(), udpPort_ == 0 ? connection.Outgoing().size() : 0);
}

bool LiveSender::SetMediaKey(const std::array<uint8_t, 32>& key)
{
    return sealer_.SetKey(key);
}

void LiveSender::SendDatagrams(uint8_t packetType, int udpSocket)
{
    for (size_t begin = 0; begin < fragments_.size(); begin += kDatagramBatch) {
        const size_t end = std::min(fragments_.size(), begin + kDatagramBatch);
        // Room for every datagram of the batch sent twice.
        mmsghdr messages[2 * kDatagramBatch] = {};
        iovec parts[2 * kDatagramBatch];
        const size_t n = SealBatch(packetType, begin, end, messages, parts);
        // Datagrams are lossy by nature: a full socket buffer drops the rest.
        if (n == 0 || ::sendmmsg(udpSocket, messages, static_cast<unsigned>(n), MSG_DONTWAIT) < static_cast<int>(n))
            return;
    }
}

size_t LiveSender::SealBatch(uint8_t packetType, size_t begin, size_t end, mmsghdr* messages, iovec* parts)
{
    uint32_t longest = 0;
    for (size_t i = begin; i < end; ++i)
        longest = std::max(longest, fragments_[i].length);
    const size_t stride = wire::kSealedDatagramOverhead + longest;
    if (sealed_.size() < stride * (end - begin))
        sealed_.resize(stride * (end - begin));
    size_t queued = 0;
    const auto queue = [&](uint8_t* datagram, size_t size) {
        parts[queued] = {datagram, size};
        messages[queued].msg_hdr.msg_name = &udpTarget_;
        messages[queued].msg_hdr.msg_namelen = sizeof udpTarget_;
        messages[queued].msg_hdr.msg_iov = &parts[queued];
        messages[queued].msg_hdr.msg_iovlen = 1;
        ++queued;
    };
    for (size_t i = begin; i < end; ++i) {
        const Fragment& f = fragments_[i];
        uint8_t* datagram = sealed_.data() + (i - begin) * stride;
        const netauth::LiveDatagramHead head{faults_.wireVersion, datagramSequence_++, token_, packetType, f.count,
                                             f.index};
        const size_t size = sealer_.Seal(head, f.payload, f.length, datagram);
        if (size == 0)
            break;  // no key yet, or its counters are spent: nothing goes out
        if (dice_.Roll(faults_.tamperDatagramsPercent)) {
            const auto sealedPart = static_cast<uint32_t>(size - wire::kSealedDatagramClear);
            const size_t at = wire::kSealedDatagramClear + dice_.Below(sealedPart);
            datagram[at] ^= static_cast<uint8_t>(1 + dice_.Below(255));
        }
        queue(datagram, size);
        if (dice_.Roll(faults_.repeatDatagramsPercent))
            queue(datagram, size);
    }
    return queued;
}

}  // namespace emulator
