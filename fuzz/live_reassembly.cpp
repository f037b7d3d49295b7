// Live packets as the network library hands them over, fed to one session's
// reassembly and stream-id rewrite. Input: records of
// [type][length high][length low][packet bytes]; type bit 0 picks audio.
#include "core/video/LiveReassembler.h"
#include "core/video/StreamMapTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static LiveReassembler* reassembler = new LiveReassembler;  // the buffer is big: made once
    static StreamMapTable* table = new StreamMapTable;
    reassembler->Reset();
    table->Clear();
    const int slot = table->AllocateSlot();
    for (int camera = 0; camera < 16; camera += 3)
        table->AddMapping(slot, camera, 15 - camera);

    std::size_t pos = 0;
    while (pos + 3 <= size) {
        const auto stream = (data[pos] & 1) ? LiveReassembler::Stream::Audio : LiveReassembler::Stream::Video;
        std::size_t length = (std::size_t{data[pos + 1]} << 8) | data[pos + 2];
        pos += 3;
        if (length > size - pos)
            length = size - pos;
        auto unit = reassembler->Add(stream, data + pos, length);
        pos += length;
        if (!unit)
            continue;
        const std::size_t capacity = stream == LiveReassembler::Stream::Video ? LiveReassembler::kVideoBufferBytes
                                                                              : LiveReassembler::kAudioBufferBytes;
        if (unit->length > capacity || unit->length < LiveReassembler::kMinUnitBytes)
            std::abort();
        unit->data[3] = table->Rewrite(slot, unit->data[3]);
        // Touch the whole unit so the sanitizer sees every byte handed on.
        volatile std::uint8_t sink = 0;
        for (std::size_t i = 0; i < unit->length; ++i)
            sink = sink ^ unit->data[i];
    }
    if (reassembler->FillLength(LiveReassembler::Stream::Video) > LiveReassembler::kVideoBufferBytes)
        std::abort();
    return 0;
}
