#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// A man in the middle on loopback: every connection to Port() is passed on to
// the target port, and every byte that crosses, either way, is kept, as an
// eavesdropper on the network would see it.
class RecordingRelay {
public:
    explicit RecordingRelay(std::uint16_t target);
    ~RecordingRelay();
    RecordingRelay(const RecordingRelay&) = delete;
    RecordingRelay& operator=(const RecordingRelay&) = delete;

    std::uint16_t Port() const { return m_port; }
    // Everything seen so far, each direction apart.
    std::vector<std::uint8_t> ToRecorder() const;
    std::vector<std::uint8_t> ToClient() const;

private:
    void Run();
    void Serve(int client);

    std::uint16_t m_target;
    std::uint16_t m_port = 0;
    int m_listener = -1;
    int m_stop[2] = {-1, -1};
    std::thread m_thread;
    mutable std::mutex m_lock; // guards the recordings
    std::vector<std::uint8_t> m_toRecorder;
    std::vector<std::uint8_t> m_toClient;
};
