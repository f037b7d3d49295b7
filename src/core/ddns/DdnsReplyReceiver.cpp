#include "core/ddns/DdnsReplyReceiver.h"

namespace ddns {

std::vector<Reply> DdnsReplyReceiver::Feed(std::span<const std::uint8_t> bytes)
{
    std::vector<Reply> replies;
    for (std::uint8_t byte : bytes) {
        switch (m_splitter.Push(byte)) {
        case DdnsFrameSplitter<kReplyBufferSize>::Step::Pending:
            break;
        case DdnsFrameSplitter<kReplyBufferSize>::Step::Frame:
            replies.push_back(ParseReplyPayload(m_splitter.Payload()));
            break;
        case DdnsFrameSplitter<kReplyBufferSize>::Step::Overlong:
            replies.push_back(Reply{});
            break;
        }
    }
    return replies;
}

}  // namespace ddns
