#include "core/net/TransferMessages.h"

#include "core/net/ByteCursor.h"

namespace wire {

std::vector<uint8_t> DateMessage::Encode() const
{
    return ByteWriter(4).U16(year).U8(month).U8(day).Take();
}

std::optional<DateMessage> DateMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    DateMessage m;
    m.year = r.U16();
    m.month = r.U8();
    m.day = r.U8();
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> LogInfoMessage::Encode() const
{
    return ByteWriter(12).U16(year).U8(month).U8(day).U32(size).U8(found ? 1 : 0).Pad(3).Take();
}

std::optional<LogInfoMessage> LogInfoMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    LogInfoMessage m;
    m.year = r.U16();
    m.month = r.U8();
    m.day = r.U8();
    m.size = r.U32();
    const uint8_t found = r.U8();
    r.Skip(3);
    if (!r.AtEnd() || found > 1 || (!found && m.size != 0))
        return std::nullopt;
    m.found = found == 1;
    return m;
}

std::vector<uint8_t> LogBlockRequestMessage::Encode() const
{
    return ByteWriter(8).U32(index).U8(tag).Pad(3).Take();
}

std::optional<LogBlockRequestMessage> LogBlockRequestMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    LogBlockRequestMessage m;
    m.index = r.U32();
    m.tag = r.U8();
    r.Skip(3);
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> DataBlockMessage::Encode() const
{
    return ByteWriter(8 + length).U32(index).U8(tag).U8(last ? 1 : 0).Pad(2).Bytes(data, length).Take();
}

std::optional<DataBlockMessage> DataBlockMessage::Decode(const uint8_t* data, size_t length, size_t maxData)
{
    ByteReader r(data, length);
    DataBlockMessage m;
    m.index = r.U32();
    m.tag = r.U8();
    const uint8_t last = r.U8();
    r.Skip(2);
    if (!r.ok() || last > 1 || r.Remaining() > maxData)
        return std::nullopt;
    m.last = last == 1;
    m.length = static_cast<uint32_t>(r.Remaining());
    m.data = r.Take(m.length);
    return m;
}

std::vector<uint8_t> MonthProfileRequestMessage::Encode() const
{
    return ByteWriter(4).U16(year).U8(month).Pad(1).Take();
}

std::optional<MonthProfileRequestMessage> MonthProfileRequestMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    MonthProfileRequestMessage m;
    m.year = r.U16();
    m.month = r.U8();
    r.Skip(1);
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> MonthProfileMessage::Encode() const
{
    return ByteWriter(8).U16(year).U8(month).Pad(1).U32(dayMask).Take();
}

std::optional<MonthProfileMessage> MonthProfileMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    MonthProfileMessage m;
    m.year = r.U16();
    m.month = r.U8();
    r.Skip(1);
    m.dayMask = r.U32();
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> DailyProfileRequestMessage::Encode() const
{
    return ByteWriter(12).U16(year).U8(month).U8(day).U32(index).U8(tag).Pad(3).Take();
}

std::optional<DailyProfileRequestMessage> DailyProfileRequestMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    DailyProfileRequestMessage m;
    m.year = r.U16();
    m.month = r.U8();
    m.day = r.U8();
    m.index = r.U32();
    m.tag = r.U8();
    r.Skip(3);
    if (!r.AtEnd())
        return std::nullopt;
    return m;
}

std::vector<uint8_t> UploadStartMessage::Encode() const
{
    const size_t n = name.size() > kMaxUploadName ? kMaxUploadName : name.size();
    return ByteWriter(5 + n)
        .U32(size)
        .U8(static_cast<uint8_t>(n))
        .Bytes(reinterpret_cast<const uint8_t*>(name.data()), n)
        .Take();
}

std::optional<UploadStartMessage> UploadStartMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    UploadStartMessage m;
    m.size = r.U32();
    const uint8_t n = r.U8();
    const uint8_t* name = r.Take(n);
    if (!r.AtEnd() || n == 0 || n > kMaxUploadName)
        return std::nullopt;
    m.name.assign(reinterpret_cast<const char*>(name), n);
    return m;
}

std::vector<uint8_t> UploadReplyMessage::Encode() const
{
    return ByteWriter(4).U8(ok ? 1 : 0).U8(static_cast<uint8_t>(reason)).Pad(2).Take();
}

namespace {

bool ValidReason(uint8_t reason) { return reason <= static_cast<uint8_t>(UploadReason::NoUpload); }

}  // namespace

std::optional<UploadReplyMessage> UploadReplyMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    UploadReplyMessage m;
    const uint8_t ok = r.U8();
    const uint8_t reason = r.U8();
    r.Skip(2);
    if (!r.AtEnd() || ok > 1 || !ValidReason(reason))
        return std::nullopt;
    m.ok = ok == 1;
    m.reason = static_cast<UploadReason>(reason);
    return m;
}

std::vector<uint8_t> UploadChunkMessage::Encode() const
{
    return ByteWriter(4 + length).U8(sequence).U8(last ? 1 : 0).Pad(2).Bytes(data, length).Take();
}

std::optional<UploadChunkMessage> UploadChunkMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    UploadChunkMessage m;
    m.sequence = r.U8();
    const uint8_t last = r.U8();
    r.Skip(2);
    if (!r.ok() || last > 1 || r.Remaining() > kUploadChunkSize)
        return std::nullopt;
    m.last = last == 1;
    m.length = static_cast<uint32_t>(r.Remaining());
    m.data = r.Take(m.length);
    return m;
}

std::vector<uint8_t> UploadAckMessage::Encode() const
{
    return ByteWriter(4)
        .U8(sequence)
        .U8(static_cast<uint8_t>(status))
        .U8(static_cast<uint8_t>(reason))
        .Pad(1)
        .Take();
}

std::optional<UploadAckMessage> UploadAckMessage::Decode(const uint8_t* data, size_t length)
{
    ByteReader r(data, length);
    UploadAckMessage m;
    m.sequence = r.U8();
    const uint8_t status = r.U8();
    const uint8_t reason = r.U8();
    r.Skip(1);
    if (!r.AtEnd() || status > static_cast<uint8_t>(UploadStatus::Failed) || !ValidReason(reason))
        return std::nullopt;
    m.status = static_cast<UploadStatus>(status);
    m.reason = static_cast<UploadReason>(reason);
    return m;
}

}  // namespace wire
