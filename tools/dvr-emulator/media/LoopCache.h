#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "core/media/MediaLoop.h"

namespace emulator::media {

// Encoded loops on disk, one file per key (the key names everything that
// shapes the bytes). Several emulators may share the folder: files are
// written under a temporary name and renamed into place.
class LoopCache {
public:
    // A longer file is taken for damage and never loaded.
    static constexpr uint64_t kMaxFileBytes = 64u << 20;

    explicit LoopCache(std::string folder);

    // Creates the folder; false with a reason when it cannot be used.
    bool Prepare(std::string* error) const;
    std::string PathFor(const std::string& key) const;
    // The stored loop, or nothing when there is none or it does not check
    // out (a damaged file is removed so it gets written again).
    std::optional<::media::MediaLoop> Load(const std::string& key) const;
    bool Store(const std::string& key, const ::media::MediaLoop& loop) const;
    // Every PTZ view is a file of its own, so the folder grows with use:
    // removes the oldest loop files beyond maxBytes (never those of `keep`)
    // and temporary files a crashed writer left behind.
    void Prune(uint64_t maxBytes, const std::set<std::string>& keep) const;

private:
    std::string folder_;
};

}  // namespace emulator::media
