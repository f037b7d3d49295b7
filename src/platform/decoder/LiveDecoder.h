#pragma once

#include <cstdint>
#include <mutex>

#include "core/video/StreamMapTable.h"
#include "platform/decoder/MPEG4MultiDecoder.h"

// The client's one decoder: primes the decoder with a pack header and a
// program stream map of 16 video and 16 audio streams, keeps the stream-id
// map of every live session and hands whole units to Demux, one at a time.
class CLiveDecoder : public CMPEG4MultiDecoder {
public:
    static constexpr int kPackHeaderBytes = 16;
    static constexpr int kStreamMapBytes = 276;
    static constexpr int kStreamCount = 32;

    CLiveDecoder();
    ~CLiveDecoder() override;

    // Empties every slot, builds the stream map for `mode` (0: MPEG-4 video,
    // 1: H.264; any other mode builds none), starts the decoder and, when that
    // succeeded, primes it with the pack header and the map. Returns whether
    // the decoder started.
    bool Initialise(HWND window, int mode, int maxWidth, int maxHeight, bool pairedType5);

    int AllocateSlot();
    void FreeSlot(int slot);
    void AddMapping(int slot, int camera, int channel);
    void RemoveMapping(int slot, int camera);
    // Empties a slot's mappings and keeps it: a session reuses its one slot.
    void ClearMappings(int slot);
    bool IsSlotInUse(int slot) const;

    // Rewrites the unit's video stream id through the slot's map (in place),
    // hands the unit to Demux and returns the decoder channel it now names
    // (stream id - 0xE0). A unit shorter than 4 bytes is refused with -1.
    int PushVideo(int slot, unsigned char* unit, int length);
    // Hands an audio unit to Demux while audio is on and the unit belongs to
    // the selected camera; true when it was handed on.
    bool PushAudio(int slot, unsigned char* unit, int length);

    void SelectAudio(int camera);
    void SetAudioOn(bool on);

    bool IsInitialised() const;
    int LastVideoLength() const;
    int AudioChannel() const;

private:
    // Guards every field below and every Demux call, so the decoder sees one unit at a time.
    mutable std::mutex m_lock;
    StreamMapTable m_slots;
    unsigned char m_streamMap[kStreamMapBytes] = {};
    unsigned char m_packHeader[kPackHeaderBytes] = {};
    int m_mode = 0;
    int m_audioChannel = 0;
    bool m_initialised = false;
    int m_lastVideoLength = 0;
    bool m_audioOn = false;
};
