#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

// A byte buffer allocated once at a 4096-byte boundary: copies between
// buffers whose addresses differ by a few bytes modulo 4096 run much slower
// on some CPUs, so every buffer that receives copies starts on a page.
class PageAlignedBuffer {
public:
    static constexpr std::size_t kAlignment = 4096;

    // size is rounded up to a whole number of pages. Throws std::bad_alloc.
    explicit PageAlignedBuffer(std::size_t size);

    unsigned char* Data() { return m_data.get(); }
    const unsigned char* Data() const { return m_data.get(); }
    std::size_t Size() const { return m_size; }

private:
    struct Free {
        void operator()(unsigned char* p) const { std::free(p); }
    };
    std::size_t m_size;
    std::unique_ptr<unsigned char, Free> m_data;
};
