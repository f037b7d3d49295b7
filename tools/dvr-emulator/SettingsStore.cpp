#include "SettingsStore.h"

#include "AtomicFile.h"
#include "SectionRules.h"

#include "core/dvr/SettingsBlock.h"

#include <cstring>
#include <filesystem>

namespace emulator {

std::unique_ptr<SettingsStore> SettingsStore::Open(const std::string& dataDir, int model, uint16_t port,
                                                   std::string* error)
{
    if (!MakeFolders(dataDir, error))
        return nullptr;
    const std::string path = dataDir + "/settings.bin";
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        ZERD_INFO_BLK block = MakeDefaultSettingsBlock(model);
        if (port != 0)
            SetNetworkPort(block, port);
        // Locally administered, one per model and port, so a scan lists
        // recorders apart.
        const uint8_t mac[6] = {0x02, 0x00, 0x7F, static_cast<uint8_t>(model), static_cast<uint8_t>(port >> 8),
                                static_cast<uint8_t>(port)};
        std::memcpy(block.network.macAddress, mac, sizeof mac);
        if (!WriteFileAtomically(path, SettingsBlockBytes(block), error))
            return nullptr;
        return std::unique_ptr<SettingsStore>(new SettingsStore(path, block));
    }
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, kSettingsBlockSize, &bytes, error))
        return nullptr;
    std::string why;
    const auto block = ParseSettingsBlock(bytes.data(), bytes.size(), &why);
    if (!block) {
        *error = path + ": not a settings block (" + why + ")";
        return nullptr;
    }
    if (DvrTypeCode(*block) != model) {
        *error = path + ": holds a recorder of type " + std::to_string(DvrTypeCode(*block)) + ", not "
            + std::to_string(model);
        return nullptr;
    }
    return std::unique_ptr<SettingsStore>(new SettingsStore(path, *block));
}

wire::WriteReason SettingsStore::WriteSection(uint8_t section, const uint8_t* data, size_t length,
                                              std::string* error)
{
    const wire::WriteReason check = CheckSectionWrite(section, data, length);
    if (check != wire::WriteReason::Ok)
        return check;
    ZERD_INFO_BLK next = block_;
    if (!ApplySection(next, section, data, length))
        return wire::WriteReason::BadLength;
    if (!WriteFileAtomically(path_, SettingsBlockBytes(next), error))
        return wire::WriteReason::StorageFailure;
    block_ = next;
    return wire::WriteReason::Ok;
}

}  // namespace emulator
