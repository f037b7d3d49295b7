#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

// Reassembles the live packets a session hands to its callback into whole
// PES units, the way the viewer does, and counts them by stream id.
class LiveUnitCollector {
public:
    static void Callback(void* context, unsigned char, unsigned char type, unsigned char* data, unsigned int length)
    {
        static_cast<LiveUnitCollector*>(context)->Take(type, data, length);
    }

    // Units per stream id (byte 3 of the PES header).
    std::map<int, int> Units() const
    {
        std::lock_guard guard(m_lock);
        return m_units;
    }
    int Malformed() const
    {
        std::lock_guard guard(m_lock);
        return m_malformed;
    }
    int Packets() const
    {
        std::lock_guard guard(m_lock);
        return m_packets;
    }

    // True once every stream id in ids has at least `count` units.
    template <class Ids>
    bool WaitForUnits(const Ids& ids, int count, std::chrono::milliseconds timeout)
    {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, timeout, [&] {
            for (int id : ids)
                if (m_units[id] < count)
                    return false;
            return true;
        });
    }

private:
    struct Reassembly {
        std::vector<std::uint8_t> unit;
        int expected = 0;
    };

    void Take(unsigned char type, const unsigned char* data, unsigned int length)
    {
        std::lock_guard guard(m_lock);
        ++m_packets;
        if (length < 2 || (type != 2 && type != 3)) {
            ++m_malformed;
            return;
        }
        Reassembly& r = m_reassembly[type - 2];
        int count = data[0];
        int index = data[1];
        if (index != r.expected) {
            // A gap: drop the partial unit, wait for the next unit's first fragment.
            r.unit.clear();
            r.expected = 0;
            if (index != 0)
                return;
        }
        r.unit.insert(r.unit.end(), data + 2, data + length);
        ++r.expected;
        if (r.expected < count)
            return;
        if (r.unit.size() >= 4 && r.unit[0] == 0 && r.unit[1] == 0 && r.unit[2] == 1)
            ++m_units[r.unit[3]];
        else
            ++m_malformed;
        r.unit.clear();
        r.expected = 0;
        m_changed.notify_all();
    }

    mutable std::mutex m_lock; // guards m_reassembly, m_units, m_malformed, m_packets
    std::condition_variable m_changed;
    std::array<Reassembly, 2> m_reassembly;
    std::map<int, int> m_units;
    int m_malformed = 0;
    int m_packets = 0;
};
