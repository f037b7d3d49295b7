// DDNS answers: any bytes may arrive from the DDNS server, in reads of any
// size. The same bytes are also read as a query payload, as the server side
// would.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/ddns/DdnsQueryFrame.h"
#include "core/ddns/DdnsReplyFrame.h"
#include "core/ddns/DdnsReplyReceiver.h"

namespace {

// A resolved reply must come out whole when built again and read back.
void CheckResolved(const ddns::Reply& reply)
{
    if (reply.kind != ddns::Reply::Kind::Resolved)
        return;
    if (reply.address.empty() || reply.address.size() > 15)
        std::abort();
    const auto frame = ddns::BuildResolvedReply(reply.address, reply.port);
    if (!frame)
        std::abort();
    ddns::DdnsReplyReceiver receiver;
    const auto back = receiver.Feed(*frame);
    if (back.size() != 1 || back[0].kind != reply.kind || back[0].address != reply.address ||
        back[0].port != reply.port)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    CheckResolved(ddns::ParseReplyPayload(bytes));

    // The first byte picks the read size for the stream.
    if (size > 0) {
        const std::size_t chunk = data[0] % 32 + 1;
        ddns::DdnsReplyReceiver receiver;
        for (std::size_t at = 1; at < size; at += chunk)
            for (const ddns::Reply& reply : receiver.Feed(bytes.subspan(at, std::min(chunk, size - at))))
                CheckResolved(reply);
    }

    if (const auto name = ddns::ParseQueryPayload(bytes)) {
        const auto frame = ddns::BuildQueryFrame(*name);
        if (!frame || frame->size() != size + 2 || !std::equal(frame->begin() + 6, frame->end() - 1, data + 5))
            std::abort();
    }
    return 0;
}
