#include "LoopCache.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/media/MediaLoopFile.h"

namespace emulator::media {
namespace {

constexpr std::uintmax_t kMaxFileSize = 64u << 20;

}  // namespace

LoopCache::LoopCache(std::string folder) : folder_(std::move(folder)) {}

bool LoopCache::Prepare(std::string* error) const
{
    std::error_code code;
    std::filesystem::create_directories(folder_, code);
    if (code || !std::filesystem::is_directory(folder_, code)) {
        *error = "cannot use media cache folder " + folder_ + ": " + (code ? code.message() : "not a folder");
        return false;
    }
    return true;
}

std::string LoopCache::PathFor(const std::string& key) const
{
    char name[40];
    const auto hash = ::media::Fnv1a64(reinterpret_cast<const uint8_t*>(key.data()), key.size());
    std::snprintf(name, sizeof name, "loop-%016llx.bin", static_cast<unsigned long long>(hash));
    return (std::filesystem::path(folder_) / name).string();
}

std::optional<::media::MediaLoop> LoopCache::Load(const std::string& key) const
{
    const std::string path = PathFor(key);
    std::error_code code;
    const auto size = std::filesystem::file_size(path, code);
    if (code)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    if (size <= kMaxFileSize) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ::media::MediaLoop loop;
    std::string why;
    if (bytes.empty() || !::media::DecodeMediaLoopFile(bytes.data(), bytes.size(), key, &loop, &why)) {
        std::filesystem::remove(path, code);
        return std::nullopt;
    }
    return loop;
}

bool LoopCache::Store(const std::string& key, const ::media::MediaLoop& loop) const
{
    static std::atomic<unsigned> counter{0};
    const std::string path = PathFor(key);
    const std::string temporary =
        path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1));
    const std::vector<uint8_t> bytes = ::media::EncodeMediaLoopFile(loop, key);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::error_code code;
            std::filesystem::remove(temporary, code);
            return false;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, path, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
    return !renamed;
}

}  // namespace emulator::media
