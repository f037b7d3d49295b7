#include "core/app/LangString.h"

#include <memory>
#include <mutex>

namespace {

std::mutex packLock; // guards loadedPack
std::shared_ptr<const LanguagePack> loadedPack;

// A reader keeps its own reference, so a pack being replaced stays alive
// until the last lookup in it has finished.
std::shared_ptr<const LanguagePack> CurrentPack()
{
    std::lock_guard lock(packLock);
    return loadedPack;
}

} // namespace

void SetLanguagePack(std::optional<LanguagePack> pack)
{
    std::shared_ptr<const LanguagePack> next;
    if (pack)
        next = std::make_shared<const LanguagePack>(std::move(*pack));
    std::lock_guard lock(packLock);
    loadedPack.swap(next);
}

bool HasLanguagePack()
{
    return CurrentPack() != nullptr;
}

std::string LoadLangString(int id)
{
    const std::shared_ptr<const LanguagePack> pack = CurrentPack();
    if (!pack)
        return {};
    const std::string* text = pack->Find(id);
    return text ? *text : std::string();
}

std::string FormatLangString(int id, std::initializer_list<std::string_view> args)
{
    const std::string format = LoadLangString(id);
    std::string out;
    out.reserve(format.size());
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const char field = i + 1 < format.size() ? format[i + 1] : '\0';
        if (c != '%' || (field != 's' && field != 'd' && field != '%')) {
            out.push_back(c);
            continue;
        }
        ++i;
        if (field == '%')
            out.push_back('%');
        else if (next != args.end())
            out.append(*next++);
    }
    return out;
}
