#pragma once
// The client's receive side of a DDNS connection: takes the bytes as they
// arrive, in reads of any size, and yields one Reply per complete frame.
// The payload is kept in a 128-byte buffer; a longer frame is Malformed.

#include "core/ddns/DdnsFrameSplitter.h"
#include "core/ddns/DdnsProtocol.h"
#include "core/ddns/DdnsReplyFrame.h"

#include <cstdint>
#include <span>
#include <vector>

namespace ddns {

class DdnsReplyReceiver {
public:
    // The replies whose closing 0xCE is among these bytes, in order.
    std::vector<Reply> Feed(std::span<const std::uint8_t> bytes);
    // Forgets a half-received frame (a new connection starts clean).
    void Reset() { m_splitter.Reset(); }
    bool InFrame() const { return m_splitter.InFrame(); }

private:
    DdnsFrameSplitter<kReplyBufferSize> m_splitter;
};

}  // namespace ddns
