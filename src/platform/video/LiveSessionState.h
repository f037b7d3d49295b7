#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

#include "core/msg/WindowMessage.h"
#include "core/video/LiveReassembler.h"

class CLiveDecoder;

// Posted to the main window when a channel's decoded picture size becomes
// known or changes: wParam = decoder channel, lParam = 0.
constexpr unsigned kMsgPictureSizeKnown = 3024;

// The live-media part of one server session: what the live media callback
// needs (it is the callback's context) and the session's panes. Usable
// without any window: a null window handle just posts nothing.
class LiveSessionState {
public:
    static constexpr int kChannels = 16;
    static constexpr int kAssumedWidth = 720;
    static constexpr int kAssumedHeight = 576;

    struct PictureSize {
        int width;
        int height;
        bool known;
    };

    LiveSessionState();
    LiveSessionState(const LiveSessionState&) = delete;
    LiveSessionState& operator=(const LiveSessionState&) = delete;

    // Where whole units go and who hears of new picture sizes.
    void Attach(CLiveDecoder* decoder, HWND mainWindow);

    // The media thread's entry points (see LiveMediaCallback).
    void OnVideoPacket(const unsigned char* packet, unsigned length);
    void OnAudioPacket(const unsigned char* packet, unsigned length);

    // Live start on the user-interface thread: the session's slot (taken once,
    // kept until released) and a fresh reassembly state, as one step that
    // never interleaves with a running callback. -1 when no slot is free.
    int PrepareLiveStart();
    // Disconnect: frees the slot.
    void ReleaseSlot();
    int Slot() const;

    // Every packet's length, all types: added by the callback, read and zeroed by the
    // main window's bit-rate timer, each as one atomic step.
    void AddReceivedBytes(std::uint32_t bytes) { m_receivedBytes.fetch_add(bytes, std::memory_order_relaxed); }
    std::uint32_t TakeReceivedBytes() { return m_receivedBytes.exchange(0, std::memory_order_relaxed); }

    // The session's audio-on state (audio button, mute box): audio packets are
    // only counted while it is off.
    void SetAudioEnabled(bool on) { m_audioEnabled.store(on, std::memory_order_relaxed); }
    bool AudioEnabled() const { return m_audioEnabled.load(std::memory_order_relaxed); }

    PictureSize GetPictureSize(int channel) const;
    // The main window's picture-size handler marks the channel as handled.
    void MarkSizeKnown(int channel);
    // Back to the assumed 720 x 576 for every channel.
    void ForgetPictureSizes();

    LiveReassembler::Counters ReassemblyCounters() const;
    bool AudioPermitted() const;

    // User-interface thread only: the session's live bookkeeping.
    bool callbackRegistered = false;
    std::uint16_t ownedPanes = 0;      // bit d = decoder channel d shows this session
    std::uint16_t requestedVideo = 0;  // bit c = camera c requested
    std::uint8_t dvrType = 0;

private:
    void HandOnVideo(LiveReassembler::Unit unit, std::optional<int>& sizeChannel);

    CLiveDecoder* m_decoder = nullptr;
    HWND m_mainWindow = 0;

    // Guards the fields below: held by the callback for a whole packet and by a
    // live start while it resets them.
    mutable std::mutex m_lock;
    LiveReassembler m_reassembly;
    int m_slot = -1;
    bool m_audioPermitted = false;
    std::array<int, kChannels> m_width;
    std::array<int, kChannels> m_height;
    std::array<bool, kChannels> m_sizeKnown{};

    std::atomic<std::uint32_t> m_receivedBytes{0};
    std::atomic<bool> m_audioEnabled{false};
};
