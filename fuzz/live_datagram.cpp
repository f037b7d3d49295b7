// The client's opener of sealed live datagrams, against a model of what it
// must take: a datagram opens once, in any order inside the window, and no
// flipped byte, replay or made-up datagram ever opens.
//
// Input: records [op][a][b][c] + for op 3 also [length][bytes]. op 0 seals a
// fragment of `a` bytes and holds it; 1 opens held datagram a*256+b; 2 opens
// it with byte c flipped (at a place chosen by b); 3 opens the bytes as they are.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

#include "platform/netauth/MediaSeal.h"

namespace {

constexpr std::uint32_t kToken = 0x0BADF00D;
constexpr std::size_t kMaxHeld = 4096;

void Expect(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const netauth::MediaKey key{9, 8, 7};
    netauth::MediaSealer sealer;
    netauth::MediaOpener opener;
    sealer.SetKey(key);
    opener.SetKey(key);
    std::vector<std::vector<std::uint8_t>> held;
    std::set<std::uint64_t> opened;
    std::uint64_t highest = 0;
    std::vector<std::uint8_t> out(wire::kMaxPayload);
    const auto open = [&](const std::vector<std::uint8_t>& datagram) {
        return opener.Open(datagram.data(), datagram.size(), kToken, out.data()).has_value();
    };

    std::size_t at = 0;
    while (at + 4 <= size) {
        const std::uint8_t op = data[at] % 4;
        const std::uint8_t a = data[at + 1];
        const std::uint8_t b = data[at + 2];
        const std::uint8_t c = data[at + 3];
        at += 4;
        if (op == 0 && held.size() < kMaxHeld) {
            std::vector<std::uint8_t> payload(a + 1u, c);
            netauth::LiveDatagramHead head;
            head.token = kToken;
            head.packetType = b & 1 ? wire::kPacketAudio : wire::kPacketVideo;
            head.count = static_cast<std::uint8_t>(b | 1);
            head.index = static_cast<std::uint8_t>(c % head.count);
            std::vector<std::uint8_t> datagram(payload.size() + wire::kSealedDatagramOverhead);
            Expect(sealer.Seal(head, payload.data(), payload.size(), datagram.data()) == datagram.size());
            held.push_back(std::move(datagram));
        } else if ((op == 1 || op == 2) && !held.empty()) {
            const std::uint64_t counter = (a * 256u + b) % held.size();
            std::vector<std::uint8_t> datagram = held[counter];
            if (op == 2) {
                datagram[(b * 131u + a) % datagram.size()] ^= static_cast<std::uint8_t>(c | 1);
                Expect(!open(datagram));
                continue;
            }
            const bool fresh = !opened.count(counter)
                && (opened.empty() || counter > highest || highest - counter < wire::ReplayWindow::kSize);
            Expect(open(datagram) == fresh);
            if (fresh) {
                opened.insert(counter);
                highest = std::max(highest, counter);
            }
        } else if (op == 3 && at < size) {
            const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
            std::vector<std::uint8_t> raw(data + at + 1, data + at + 1 + length);
            at += 1 + length;
            Expect(!open(raw));
        }
    }
    return 0;
}
