#pragma once
// A recorder's settings block on disk (DATA/settings.bin): made from the
// model's defaults on first run, checked on load, and replaced atomically by
// each accepted section write.

#include "core/dvr/ZerdInfoBlock.h"
#include "core/net/WireFormat.h"

#include <memory>
#include <optional>
#include <string>

namespace emulator {

class SettingsStore {
public:
    // Loads DATA/settings.bin, or creates it with the model's defaults, the
    // port (when not 0) and a MAC address of its own. A file that is not a
    // valid block, or of another model, is an error (it is left as it is for
    // the operator to look at).
    static std::unique_ptr<SettingsStore> Open(const std::string& dataDir, int model, uint16_t port,
                                               std::string* error);

    const ZERD_INFO_BLK& Block() const { return block_; }
    // Checks the section, stores the new block, then keeps it in memory; on
    // any failure both stay as they were.
    wire::WriteReason WriteSection(uint8_t section, const uint8_t* data, size_t length, std::string* error);
    const std::string& Path() const { return path_; }

private:
    SettingsStore(std::string path, const ZERD_INFO_BLK& block) : path_(std::move(path)), block_(block) {}
    std::string path_;
    ZERD_INFO_BLK block_;
};

}  // namespace emulator
