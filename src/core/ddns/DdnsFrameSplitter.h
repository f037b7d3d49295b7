#pragma once
// Cuts a byte stream into DDNS frame payloads. Bytes outside a frame are
// dropped; 0xAF always starts a new frame, discarding a half-received one.
// The payload buffer has a fixed capacity and is never written past: a frame
// whose payload outgrows it is reported as Overlong when its 0xCE arrives.

#include "core/ddns/DdnsProtocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ddns {

template <std::size_t Capacity>
class DdnsFrameSplitter {
public:
    enum class Step { Pending, Frame, Overlong };

    // Takes one received byte. After Step::Frame, Payload() holds the frame's
    // payload until the next Push.
    Step Push(std::uint8_t byte)
    {
        if (byte == kFrameStart) {
            m_inFrame = true;
            m_overflowed = false;
            m_index = 0;
            return Step::Pending;
        }
        if (!m_inFrame)
            return Step::Pending;
        if (byte == kFrameEnd) {
            m_inFrame = false;
            return m_overflowed ? Step::Overlong : Step::Frame;
        }
        if (m_index < Capacity)
            m_buffer[m_index++] = byte;
        else
            m_overflowed = true;
        return Step::Pending;
    }

    std::span<const std::uint8_t> Payload() const { return {m_buffer.data(), m_index}; }
    bool InFrame() const { return m_inFrame; }
    void Reset()
    {
        m_inFrame = false;
        m_overflowed = false;
        m_index = 0;
    }

private:
    std::array<std::uint8_t, Capacity> m_buffer{};
    std::size_t m_index = 0;  // payload bytes held, never above Capacity
    bool m_inFrame = false;
    bool m_overflowed = false;
};

}  // namespace ddns
