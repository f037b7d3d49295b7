// Settings blocks from a recorder: validation, parsing, the JSON dump and
// section writes of arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsBlockJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const auto block = ParseSettingsBlock(data, size, &error);
    if (block) {
        if (std::memcmp(BlockBytes(*block), data, kSettingsBlockSize) != 0)
            std::abort();
        const std::string json = SettingsBlockToJson(*block);
        if (json.empty() || json.front() != '{' || json.back() != '}')
            std::abort();
        for (const char* account : {"ADMIN", "GUEST0", "GUEST1"}) {
            if (AccountPassword(*block, account)->size() > 9)
                std::abort();
        }
    } else if (error.empty()) {
        std::abort();
    }

    // The input as a section write: first byte the section number, the rest its bytes.
    if (size >= 1) {
        ZERD_INFO_BLK target = MakeDefaultSettingsBlock(3);
        const ZERD_INFO_BLK before = target;
        const bool applied = ApplySection(target, data[0], data + 1, size - 1);
        const auto span = SectionSpan(data[0]);
        if (applied != (span && span->size == size - 1))
            std::abort();
        if (!applied && std::memcmp(&before, &target, sizeof target) != 0)
            std::abort();
        if (target.system.dvrTypeCode != 3 || std::memcmp(target.tail, before.tail, sizeof target.tail) != 0)
            std::abort();
    }
    return 0;
}
