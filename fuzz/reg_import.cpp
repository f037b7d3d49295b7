// Reads arbitrary bytes as a .reg file. What parses must survive writing and
// reading back unchanged, and must apply to a store whose export reads back.
#include "core/config/RegFile.h"
#include "platform/registry/SqliteRegistry.h"

#include <cstdlib>

namespace {

bool SameValue(const RegFileValue& a, const RegFileValue& b)
{
    return a.name == b.name && a.remove == b.remove && (a.remove || (a.type == b.type && a.data == b.data));
}

bool SameContents(const RegFileContents& a, const RegFileContents& b)
{
    if (a.sections.size() != b.sections.size())
        return false;
    for (std::size_t i = 0; i < a.sections.size(); ++i) {
        const auto& x = a.sections[i];
        const auto& y = b.sections[i];
        if (x.key != y.key || x.remove != y.remove || x.values.size() != y.values.size())
            return false;
        for (std::size_t k = 0; k < x.values.size(); ++k)
            if (!SameValue(x.values[k], y.values[k]))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes(data, data + size);
    RegFileContents contents;
    std::string error;
    if (!CRegFile::Parse(bytes, contents, error)) {
        if (error.rfind("line ", 0) != 0)
            std::abort();
        return 0;
    }
    RegFileContents again;
    if (!CRegFile::Parse(CRegFile::Format(contents), again, error) || !SameContents(contents, again))
        std::abort();

    static std::shared_ptr<RegistryBackend> store = OpenInMemoryRegistry();
    if (!store)
        std::abort();
    std::vector<RegEdit> wipe;
    std::vector<std::string> top;
    store->EnumSubKeys({}, top);
    for (const auto& name : top) {
        RegEdit edit;
        edit.kind = RegEdit::Kind::DeleteTree;
        edit.key = {name};
        wipe.push_back(edit);
    }
    store->Apply(wipe);
    if (!CRegFile::Apply(*store, contents, error))
        return 0;
    std::vector<std::uint8_t> exported;
    RegFileContents reread;
    if (!CRegFile::Export(*store, "HKEY_CURRENT_USER", exported, error) || !CRegFile::Parse(exported, reread, error))
        std::abort();
    return 0;
}
