#include "LoopCache.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <chrono>
#include <iterator>
#include <vector>

#include "core/media/MediaLoopFile.h"

namespace emulator::media {
namespace {

constexpr auto kAbandonedAfter = std::chrono::minutes(10);

bool IsLoopFile(const std::string& name) { return name.rfind("loop-", 0) == 0 && name.ends_with(".bin"); }
bool IsTemporaryFile(const std::string& name) { return name.rfind("loop-", 0) == 0 && name.find(".bin.tmp") != std::string::npos; }

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
    if (size <= kMaxFileBytes) {
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

void LoopCache::Prune(uint64_t maxBytes, const std::set<std::string>& keep) const
{
    struct Entry {
        std::filesystem::path path;
        std::filesystem::file_time_type written;
        uintmax_t size;
    };
    std::vector<Entry> loops;
    uint64_t total = 0;
    std::error_code code;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& entry : std::filesystem::directory_iterator(folder_, code)) {
        const std::string name = entry.path().filename().string();
        const auto written = entry.last_write_time(code);
        const auto size = entry.file_size(code);
        if (code)
            continue;
        if (IsTemporaryFile(name) && now - written > kAbandonedAfter) {
            std::filesystem::remove(entry.path(), code);
        } else if (IsLoopFile(name) && !keep.count(entry.path().string())) {
            loops.push_back(Entry{entry.path(), written, size});
            total += size;
        } else if (IsLoopFile(name)) {
            total += size;
        }
    }
    std::sort(loops.begin(), loops.end(), [](const Entry& a, const Entry& b) { return a.written < b.written; });
    for (const Entry& entry : loops) {
        if (total <= maxBytes)
            break;
        if (std::filesystem::remove(entry.path, code))
            total -= std::min<uint64_t>(total, entry.size);
    }
}

}  // namespace emulator::media
