#include "core/media/MediaLoopFile.h"

#include <cstring>

#include "core/mpeg/PesPacket.h"

namespace media {
namespace {

constexpr char kMagic[8] = {'O', 'M', 'B', 'R', 'L', 'O', 'O', 'P'};
constexpr uint32_t kMaxDurationMs = 3600 * 1000;
constexpr size_t kUnitHeaderSize = 9;

void PutLe(std::vector<uint8_t>* out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Reads little-endian integers and fails once, for good, on a short read.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Take(size_t count, const uint8_t** out)
    {
        if (size_ - pos_ < count)
            return false;
        *out = data_ + pos_;
        pos_ += count;
        return true;
    }
    bool Le(int bytes, uint64_t* out)
    {
        const uint8_t* p = nullptr;
        if (!Take(static_cast<size_t>(bytes), &p))
            return false;
        *out = 0;
        for (int i = 0; i < bytes; ++i)
            *out |= uint64_t{p[i]} << (8 * i);
        return true;
    }
    size_t Remaining() const { return size_ - pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool Fail(std::string* error, const std::string& reason)
{
    if (error)
        *error = reason;
    return false;
}

}  // namespace

uint64_t Fnv1a64(const uint8_t* data, size_t size)
{
    uint64_t hash = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 0x100000001B3ull;
    }
    return hash;
}

std::vector<uint8_t> EncodeMediaLoopFile(const MediaLoop& loop, const std::string& key)
{
    std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
    PutLe(&out, kMediaLoopFileVersion, 4);
    PutLe(&out, key.size(), 2);
    out.insert(out.end(), key.begin(), key.end());
    PutLe(&out, loop.durationMs, 4);
    PutLe(&out, loop.units.size(), 4);
    for (const MediaUnit& unit : loop.units) {
        PutLe(&out, unit.timeMs, 4);
        out.push_back(unit.keyframe ? 1 : 0);
        PutLe(&out, unit.pes.size(), 4);
        out.insert(out.end(), unit.pes.begin(), unit.pes.end());
    }
    PutLe(&out, Fnv1a64(out.data(), out.size()), 8);
    return out;
}

bool DecodeMediaLoopFile(const uint8_t* data, size_t size, const std::string& expectedKey, MediaLoop* out,
                         std::string* error)
{
    if (size < sizeof kMagic + 8 || std::memcmp(data, kMagic, sizeof kMagic) != 0)
        return Fail(error, "not a media loop file");
    uint64_t stored = 0;
    for (int i = 0; i < 8; ++i)
        stored |= uint64_t{data[size - 8 + static_cast<size_t>(i)]} << (8 * i);
    if (Fnv1a64(data, size - 8) != stored)
        return Fail(error, "media loop file checksum mismatch");

    Reader reader(data + sizeof kMagic, size - sizeof kMagic - 8);
    uint64_t version = 0, keyLength = 0, duration = 0, count = 0;
    const uint8_t* key = nullptr;
    if (!reader.Le(4, &version) || version != kMediaLoopFileVersion)
        return Fail(error, "unsupported media loop file version");
    if (!reader.Le(2, &keyLength) || !reader.Take(keyLength, &key) ||
        std::string(reinterpret_cast<const char*>(key), keyLength) != expectedKey)
        return Fail(error, "media loop file was made for other settings");
    if (!reader.Le(4, &duration) || duration == 0 || duration > kMaxDurationMs)
        return Fail(error, "bad media loop duration");
    // Every unit takes at least its header, which bounds a lying count.
    if (!reader.Le(4, &count) || count == 0 || count > reader.Remaining() / kUnitHeaderSize)
        return Fail(error, "bad media loop unit count");

    MediaLoop loop;
    loop.durationMs = static_cast<uint32_t>(duration);
    loop.units.reserve(count);
    uint8_t streamId = 0;
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t time = 0, flags = 0, unitSize = 0;
        const uint8_t* bytes = nullptr;
        if (!reader.Le(4, &time) || !reader.Le(1, &flags) || !reader.Le(4, &unitSize))
            return Fail(error, "media loop file is truncated");
        if (flags > 1 || unitSize > kMaxMediaLoopUnitSize || !reader.Take(unitSize, &bytes))
            return Fail(error, "bad media loop unit");
        if (time >= duration || (!loop.units.empty() && time < loop.units.back().timeMs))
            return Fail(error, "media loop units out of time order");
        std::string why;
        const auto pes = mpeg::ParseMpeg2PesPacket(bytes, unitSize, &why);
        if (!pes || pes->size != unitSize)
            return Fail(error, "media loop unit is not one PES packet: " + why);
        if (i == 0)
            streamId = pes->streamId;
        else if (pes->streamId != streamId)
            return Fail(error, "media loop mixes streams");
        loop.units.push_back(MediaUnit{std::vector<uint8_t>(bytes, bytes + unitSize), static_cast<uint32_t>(time),
                                       flags == 1});
    }
    if (!loop.units.front().keyframe)
        return Fail(error, "media loop does not start with a keyframe");
    if (reader.Remaining() != 0)
        return Fail(error, "media loop file has trailing bytes");
    *out = std::move(loop);
    return true;
}

}  // namespace media
