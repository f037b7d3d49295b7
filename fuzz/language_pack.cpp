// Language packs are files a user can edit or replace: any bytes must give a
// pack or an error, and an accepted pack must hold only what the format allows.
#include "core/app/LanguagePack.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const std::optional<LanguagePack> pack =
        LanguagePack::Parse(std::string_view(reinterpret_cast<const char*>(data), size), &error);
    if (!pack) {
        if (error.empty())
            std::abort();
        return 0;
    }
    const std::vector<int> ids = pack->Ids();
    if (ids.empty())
        std::abort();
    int previous = -1;
    for (int id : ids) {
        if (id <= previous || id > LanguagePack::MaxId)
            std::abort();
        previous = id;
        const std::string* text = pack->Find(id);
        if (!text || text->empty())
            std::abort();
        for (char c : *text) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F)
                std::abort();
        }
    }
    return 0;
}
