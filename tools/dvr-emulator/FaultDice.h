#pragma once

#include <cstdint>
#include <random>

namespace emulator {

// Seeded dice for fault injection: the same seed gives the same faults.
class FaultDice {
public:
    explicit FaultDice(uint64_t seed) : engine_(seed) {}
    // True with the given probability; never for 0, always for 100.
    bool Roll(uint32_t percent)
    {
        if (percent == 0)
            return false;
        return percent >= 100 || Below(100) < percent;
    }
    // 0..n-1 (n > 0).
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(engine_() % n); }

private:
    std::mt19937_64 engine_;
};

}  // namespace emulator
