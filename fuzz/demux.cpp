// Program-stream units come from the network and from files: any bytes must
// split into units that lie inside the buffer, parse or be refused without
// reading past it, and go through Demux (and on to the decoders) harmlessly.
#include "core/mpeg/ElementaryStreamProbe.h"
#include "core/mpeg/PackHeader.h"
#include "core/mpeg/PesPacket.h"
#include "core/mpeg/ProgramStreamMap.h"
#include "core/mpeg/ProgramStreamUnit.h"
#include "platform/decoder/MPEG4MultiDecoder.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

CMPEG4MultiDecoder& Decoder()
{
    static CMPEG4MultiDecoder* decoder = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        MP4MUL_InitializeDecoder();
        auto* d = new CMPEG4MultiDecoder();
        d->InitializeDecodeSystems(0, true, false);
        d->SetDeinterlace(true);
        for (int channel = 0; channel < CMPEG4MultiDecoder::kChannels; ++channel)
            d->SetVideoPos(channel, 0, 0, 64, 48);
        return d;
    }();
    return *decoder;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckUnit(const mpeg::UnitSplitter::Unit& unit)
{
    switch (unit.kind) {
    case mpeg::UnitKind::PackHeader: {
        auto header = mpeg::ParsePackHeader(unit.data, unit.size);
        Check(header && header->size == unit.size);
        break;
    }
    case mpeg::UnitKind::StreamMap:
        if (auto map = mpeg::ParseProgramStreamMap(unit.data, unit.size))
            Check(map->size <= unit.size);
        break;
    case mpeg::UnitKind::Pes: {
        const auto pes = mpeg::ParsePesPacket(unit.data, unit.size);
        // The strict form takes a subset of the recorder form and reads it the same way.
        if (const auto strict = mpeg::ParseMpeg2PesPacket(unit.data, unit.size, nullptr))
            Check(pes && pes->size == strict->size && pes->payload == strict->payload && pes->pts == strict->pts &&
                  pes->dts == strict->dts);
        if (pes) {
            Check(pes->size <= unit.size);
            Check(pes->payload >= unit.data && pes->payload + pes->payloadSize <= unit.data + pes->size);
            mpeg::ProbeVideoCodec(pes->payload, pes->payloadSize);
            mpeg::ContainsKeyframe(mpeg::VideoCodec::Unknown, pes->payload, pes->payloadSize);
        }
        break;
    }
    default:
        break;
    }
}

void Split(const uint8_t* data, size_t size, bool atEnd)
{
    mpeg::UnitSplitter splitter(data, size, atEnd);
    mpeg::UnitSplitter::Unit unit{};
    const uint8_t* previousEnd = data;
    while (splitter.Next(&unit)) {
        Check(unit.size > 0 && unit.data >= previousEnd && unit.data + unit.size <= data + size);
        previousEnd = unit.data + unit.size;
        CheckUnit(unit);
    }
    Check(splitter.Position() <= size && splitter.SkippedBytes() <= size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Split(data, size, true);
    Split(data, size, false);

    // As the live path hands units over: one Demux call per unit, and the
    // whole buffer as one call.
    CMPEG4MultiDecoder& decoder = Decoder();
    std::vector<uint8_t> copy(data, data + size);  // exact bounds for the sanitizer
    mpeg::UnitSplitter splitter(copy.data(), copy.size(), true);
    mpeg::UnitSplitter::Unit unit{};
    while (splitter.Next(&unit)) {
        std::vector<uint8_t> one(unit.data, unit.data + unit.size);
        const int taken = decoder.Demux(one.data(), one.data() + one.size(), 0);
        Check(taken == -1 || taken == int(one.size()));
    }
    if (!copy.empty())
        decoder.Demux(copy.data(), copy.data() + copy.size(), 0);
    decoder.SelectAudioChannel(size % 16);
    return 0;
}
