#include "DdnsAnswer.h"

#include "core/ddns/DdnsProtocol.h"
#include "core/ddns/DdnsReplyFrame.h"

#include <algorithm>

namespace ddns_emulator {

namespace {

using Bytes = std::vector<std::uint8_t>;

// An address field claiming 255 bytes, of which three follow.
Bytes GarbageFrame() { return {ddns::kFrameStart, 0, 0, 0, ddns::kFieldAddress, 0xFF, '1', '.', '2', ddns::kFrameEnd}; }

// A well-formed reply stretched with filler past the client's buffer.
Bytes OverlongFrame(const Bytes& reply)
{
    Bytes frame(reply.begin(), reply.end() - 1);
    frame.resize(1 + 2 * ddns::kReplyBufferSize, 0x55);
    frame.push_back(ddns::kFrameEnd);
    return frame;
}

// Bytes a client must skip: 0xCE among them, since a stray end marker
// before any frame must not count as an answer.
Bytes Junk(std::size_t count)
{
    static const std::uint8_t pattern[] = {0x00, ddns::kFrameEnd, 'j', 0x7F, 0x01};
    Bytes junk(count);
    for (std::size_t i = 0; i < count; ++i)
        junk[i] = pattern[i % sizeof pattern];
    return junk;
}

std::vector<Bytes> Split(const Bytes& bytes, std::size_t parts)
{
    parts = std::clamp<std::size_t>(parts, 1, std::max<std::size_t>(bytes.size(), 1));
    std::vector<Bytes> writes;
    std::size_t at = 0;
    for (std::size_t i = 0; i < parts; ++i) {
        const std::size_t end = bytes.size() * (i + 1) / parts;
        writes.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(end));
        at = end;
    }
    return writes;
}

}  // namespace

AnswerPlan PlanAnswer(const EmulatorOptions& options, const std::optional<std::string>& name)
{
    AnswerPlan plan;
    plan.logLine = "query " + (name ? "\"" + *name + "\"" : std::string("(unreadable)"));
    const auto found = name ? options.names.find(FoldName(*name)) : options.names.end();
    std::optional<Bytes> reply;
    if (found != options.names.end())
        reply = ddns::BuildResolvedReply(found->second.address, found->second.port, options.portFirst);
    if (reply)
        plan.logLine += " -> " + found->second.address + ":" + std::to_string(found->second.port);
    else
        plan.logLine += " -> not registered";

    Bytes frame;
    switch (options.mode) {
    case ReplyMode::Silent:
        plan.logLine += " (silent)";
        return plan;
    case ReplyMode::Close:
        plan.logLine += " (hang up)";
        plan.hangUp = true;
        return plan;
    case ReplyMode::Garbage:
        plan.logLine += " (garbage)";
        frame = GarbageFrame();
        break;
    case ReplyMode::Overlong:
        plan.logLine += " (overlong)";
        frame = OverlongFrame(reply.value_or(ddns::BuildNotRegisteredReply()));
        break;
    case ReplyMode::Normal:
        frame = reply.value_or(ddns::BuildNotRegisteredReply());
        break;
    }
    Bytes bytes = Junk(options.junkBytes);
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    plan.writes = Split(bytes, options.splitParts);
    return plan;
}

}  // namespace ddns_emulator
