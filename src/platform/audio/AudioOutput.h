#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

// Plays G.711 mu-law audio, 8 kHz mono, through the sound device (SDL2).
// With no usable device it becomes a silent sink and says so once per
// process on stderr. Playing never blocks: at most half a second waits in
// the device queue, and older samples give way to new ones.
class AudioOutput {
public:
    static constexpr int kSampleRate = 8000;

    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    bool IsSilent() const { return m_device == 0; }
    // 0 = silent, 100 = as recorded; values outside are limited.
    void SetVolume(int volume);
    void PlayMuLaw(const uint8_t* codes, size_t count);
    // Forgets samples not yet played (another channel was chosen).
    void Flush();

private:
    uint32_t m_device = 0;  // SDL audio device id; 0 = silent sink
    bool m_subsystemStarted = false;
    std::atomic<int> m_volume{100};
    std::mutex m_scratchLock;  // guards m_scratch
    std::vector<int16_t> m_scratch;
};
