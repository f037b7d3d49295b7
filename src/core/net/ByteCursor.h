#pragma once
// Little-endian writer and bounds-checked reader for payload layouts.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace wire {

class ByteWriter {
public:
    explicit ByteWriter(size_t reserve = 0) { bytes_.reserve(reserve); }
    ByteWriter& U8(uint8_t v)
    {
        bytes_.push_back(v);
        return *this;
    }
    ByteWriter& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
    ByteWriter& U32(uint32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16)); }
    ByteWriter& Pad(size_t n)
    {
        bytes_.insert(bytes_.end(), n, 0);
        return *this;
    }
    ByteWriter& Bytes(const uint8_t* p, size_t n)
    {
        if (n)
            bytes_.insert(bytes_.end(), p, p + n);
        return *this;
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// Reads past the end yield 0 and mark the cursor failed; callers check ok()
// (and usually AtEnd()) once at the end.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t length) : data_(data), length_(length) {}
    uint8_t U8()
    {
        if (!Have(1))
            return 0;
        return data_[pos_++];
    }
    uint16_t U16()
    {
        uint16_t lo = U8();
        return static_cast<uint16_t>(lo | (U8() << 8));
    }
    uint32_t U32()
    {
        uint32_t lo = U16();
        return lo | (static_cast<uint32_t>(U16()) << 16);
    }
    uint64_t U64()
    {
        uint64_t lo = U32();
        return lo | (static_cast<uint64_t>(U32()) << 32);
    }
    void Skip(size_t n)
    {
        if (Have(n))
            pos_ += n;
    }
    // Pointer to the next n bytes (null on failure).
    const uint8_t* Take(size_t n)
    {
        if (!Have(n))
            return nullptr;
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    void Copy(uint8_t* out, size_t n)
    {
        if (const uint8_t* p = Take(n))
            std::memcpy(out, p, n);
    }
    size_t Remaining() const { return length_ - pos_; }
    bool ok() const { return ok_; }
    bool AtEnd() const { return ok_ && pos_ == length_; }

private:
    bool Have(size_t n)
    {
        if (!ok_ || length_ - pos_ < n) {
            ok_ = false;
            return false;
        }
        return true;
    }
    const uint8_t* data_;
    size_t length_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace wire
