#include "bench/support/CameraLoops.h"

#include "core/media/MediaLoopFile.h"
#include "core/mpeg/PesPacket.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace benchsupport {
namespace {

constexpr std::size_t kKeyLengthAt = 12;  // after the 8-byte tag and the 4-byte version

// A loop file names the key it was made for; reading it back under that key
// checks everything else.
std::vector<AccessUnit> ReadVideoLoop(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.size() < kKeyLengthAt + 2)
        return {};
    const std::size_t keyLength = bytes[kKeyLengthAt] | (std::size_t{bytes[kKeyLengthAt + 1]} << 8);
    if (bytes.size() < kKeyLengthAt + 2 + keyLength)
        return {};
    const std::string key(bytes.begin() + kKeyLengthAt + 2, bytes.begin() + kKeyLengthAt + 2 + keyLength);
    media::MediaLoop loop;
    std::string error;
    if (!media::DecodeMediaLoopFile(bytes.data(), bytes.size(), key, &loop, &error))
        return {};
    std::vector<AccessUnit> aus;
    for (const media::MediaUnit& unit : loop.units) {
        const auto pes = mpeg::ParsePesPacket(unit.pes.data(), unit.pes.size());
        if (!pes || (pes->streamId & 0xF0) != 0xE0)
            return {};
        if (pes->hasPts || aus.empty())
            aus.emplace_back();
        aus.back().insert(aus.back().end(), pes->payload, pes->payload + pes->payloadSize);
    }
    return aus;
}

} // namespace

std::vector<std::vector<AccessUnit>> ReadCameraLoops(const std::string& cacheDir)
{
    std::vector<std::filesystem::path> files;
    std::error_code code;
    for (const auto& entry : std::filesystem::directory_iterator(cacheDir, code)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("loop-", 0) == 0 && entry.path().extension() == ".bin")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<std::vector<AccessUnit>> loops;
    for (const auto& file : files) {
        auto aus = ReadVideoLoop(file);
        if (!aus.empty())
            loops.push_back(std::move(aus));
    }
    return loops;
}

double LoopBitRate(const std::vector<AccessUnit>& loop, int framesPerSecond)
{
    if (loop.empty())
        return 0;
    return 8.0 * static_cast<double>(TotalBytes(loop)) * framesPerSecond / static_cast<double>(loop.size());
}

} // namespace benchsupport
