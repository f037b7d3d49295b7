#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// A byte buffer on a 4096-byte boundary. Copies between buffers whose
// addresses differ by 8 to 16 bytes modulo 4096 run many times slower on some
// CPUs (4K aliasing), so every buffer that receives a copy on the video path
// is one of these.
class AlignedBuffer {
public:
    static constexpr size_t kAlignment = 4096;

    AlignedBuffer() = default;
    // Capacity is rounded up to a whole number of alignment blocks.
    explicit AlignedBuffer(size_t capacity);

    uint8_t* Data() { return m_data.get(); }
    const uint8_t* Data() const { return m_data.get(); }
    size_t Capacity() const { return m_capacity; }

private:
    struct Free {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t, Free> m_data;
    size_t m_capacity = 0;
};
