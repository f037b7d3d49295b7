// Settings files for "dvrctl settings put": any bytes are read or refused
// with a named field, and what is read keeps the recorder's identity and
// carried-through bytes; a read block that passes the checks prints and
// reads back to itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <variant>

#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsBlockJson.h"
#include "core/setup/SettingsFieldCheck.h"
#include "core/setup/SettingsJsonReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ZERD_INFO_BLK base = MakeDefaultSettingsBlock(4);
    const auto read = ReadSettingsJson(std::string_view(reinterpret_cast<const char*>(data), size), base);
    if (const auto* problem = std::get_if<FieldProblem>(&read)) {
        if (problem->field.empty() || problem->reason.empty())
            std::abort();
        return 0;
    }
    const ZERD_INFO_BLK& block = std::get<ZERD_INFO_BLK>(read);
    if (block.system.dvrTypeCode != base.system.dvrTypeCode ||
        std::memcmp(block.network.macAddress, base.network.macAddress, 6) != 0 ||
        std::memcmp(block.tail, base.tail, sizeof block.tail) != 0 ||
        std::memcmp(block.camera.reserved128, base.camera.reserved128, sizeof block.camera.reserved128) != 0)
        std::abort();
    if (CheckSettingsBlock(block))
        return 0;
    const auto again = ReadSettingsJson(SettingsBlockToJson(block), base);
    const auto* reread = std::get_if<ZERD_INFO_BLK>(&again);
    if (!reread || std::memcmp(reread, &block, sizeof block) != 0)
        std::abort();
    return 0;
}
