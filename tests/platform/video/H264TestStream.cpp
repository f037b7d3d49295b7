#include "H264TestStream.h"

#include "core/media/PesPacketizer.h"

// The benchmarks' encoder, so tests and benchmarks feed the same kind of stream.
#include "../../../bench/support/H264Encoder.h"

std::vector<std::vector<std::uint8_t>> EncodeH264(int width, int height, int frames)
{
    benchsupport::H264Settings settings;
    settings.width = width;
    settings.height = height;
    settings.frames = frames;
    return benchsupport::EncodeH264(settings);
}

std::vector<std::vector<std::uint8_t>> VideoUnits(int camera, const std::vector<std::vector<std::uint8_t>>& aus)
{
    std::vector<std::vector<std::uint8_t>> units;
    for (std::size_t i = 0; i < aus.size(); ++i) {
        auto pes = media::PacketizeAccessUnit(static_cast<std::uint8_t>(0xE0 + camera),
                                              media::MillisecondsToPts(static_cast<std::uint32_t>(40 * i)),
                                              aus[i].data(), aus[i].size());
        for (auto& p : pes)
            units.push_back(std::move(p));
    }
    return units;
}

std::vector<std::vector<unsigned char>> LivePackets(const std::vector<std::uint8_t>& unit, std::size_t payload)
{
    const std::size_t count = (unit.size() + payload - 1) / payload;
    std::vector<std::vector<unsigned char>> packets;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t begin = i * payload;
        const std::size_t end = std::min(unit.size(), begin + payload);
        std::vector<unsigned char> p(2 + end - begin);
        p[0] = static_cast<unsigned char>(count);
        p[1] = static_cast<unsigned char>(i);
        std::copy(unit.begin() + static_cast<std::ptrdiff_t>(begin), unit.begin() + static_cast<std::ptrdiff_t>(end),
                  p.begin() + 2);
        packets.push_back(std::move(p));
    }
    return packets;
}
