#pragma once
// Live media of one session: the streams it asked for, each unit cut into
// fragments when due, sent on the control connection (TCP mode) or as
// datagrams sealed with the session's media key to the client's port (UDP
// mode), with the recorder's fragment and datagram faults applied.

#include "EmulatorOptions.h"
#include "FaultDice.h"
#include "LiveStream.h"
#include "SendTimes.h"

#include "core/net/LiveMessages.h"
#include "core/net/RecorderConnection.h"
#include "media/CameraFeeds.h"
#include "platform/netauth/MediaSeal.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <cstdint>
#include <vector>

namespace emulator {

class LiveSender {
public:
    // sendTimes hears of every video unit sent.
    LiveSender(media::CameraFeeds& feeds, const FaultOptions& faults, uint64_t diceSeed, SendTimes& sendTimes);

    // Starts the streams of a (new) request; zero masks stop everything.
    // udpPort 0: fragments go on the connection; else datagrams to
    // peer:udpPort through udpSocket.
    void Configure(const wire::LiveReplyMessage& served, uint16_t udpPort, const sockaddr_in& peer, uint32_t token,
                   uint64_t nowMs);
    // The key of this session's datagrams, from the encrypted control
    // connection. Without one no datagram is sent: live media never crosses
    // in clear. One key per session: false for another one.
    bool SetMediaKey(const std::array<uint8_t, 32>& key);
    // Sends every unit due by nowMs.
    void SendDue(uint64_t nowMs, wire::RecorderConnection& connection, int udpSocket);
    // When the next unit is due; UINT64_MAX without streams.
    uint64_t NextDueMs() const;

private:
    struct Fragment {
        uint8_t count;
        uint8_t index;
        const uint8_t* payload;
        uint32_t length;
        bool copied;  // payload is a copy in scratch_ that may be changed
    };
    void SendUnit(LiveStream& stream, wire::RecorderConnection& connection, int udpSocket);
    void CutFragments(const LiveStream& stream);
    void SendDatagrams(uint8_t packetType, int udpSocket);
    // Seals fragments [begin, end) into sealed_ and queues them (some twice
    // or damaged under the datagram faults); returns how many were queued.
    size_t SealBatch(uint8_t packetType, size_t begin, size_t end, mmsghdr* messages, iovec* parts);

    media::CameraFeeds& feeds_;
    FaultOptions faults_;
    FaultDice dice_;
    SendTimes& sendTimes_;
    std::vector<LiveStream> streams_;
    uint16_t udpPort_ = 0;
    sockaddr_in udpTarget_{};
    uint32_t token_ = 0;
    uint32_t datagramSequence_ = 0;
    // Its counters belong to the session's key, whatever the streams do.
    netauth::MediaSealer sealer_;

    // Reused for every unit, so steady streaming allocates nothing.
    std::vector<uint8_t> scratch_;          // restamped first fragment, corrupted copies
    std::vector<Fragment> fragments_;        // of the unit being sent, in send order
    std::vector<uint8_t> sealed_;            // one batch of whole datagrams
};

}  // namespace emulator
