#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The store under HKEY_CURRENT_USER that the registry layer works over. Keys
// are addressed by their path components below the root (an empty path is
// the root itself). Key and value names compare without regard to case and
// keep the spelling they were created with.

// Result codes, with the numbers the Windows registry functions return, so
// that a recorded "last error" means the same thing here.
namespace regerr {
constexpr long Success = 0;
constexpr long FileNotFound = 2;     // key or value missing
constexpr long AccessDenied = 5;     // e.g. deleting a key that has subkeys
constexpr long InvalidHandle = 6;    // no store available
constexpr long InvalidParameter = 87;
constexpr long BadPathname = 161;    // malformed key path
constexpr long IoFailed = 1016;      // the store could not be read or written
} // namespace regerr

using RegKeyPath = std::vector<std::string>;

struct RegValue {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// One change of a batch applied with RegistryBackend::Apply.
struct RegEdit {
    enum class Kind { CreateKey, DeleteTree, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    RegKeyPath key;
    std::string valueName;                 // SetValue, DeleteValue
    std::uint32_t type = 0;                // SetValue
    std::vector<std::uint8_t> data;        // SetValue
};

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Creates the key and any missing parents; an existing key is fine.
    virtual long CreateKey(const RegKeyPath& key) = 0;
    // Success when the key exists.
    virtual long OpenKey(const RegKeyPath& key) = 0;
    // The key's path with every name spelled as it was created.
    virtual long StoredSpelling(const RegKeyPath& key, RegKeyPath& stored) = 0;
    // Deletes one key with its values; AccessDenied when it has subkeys,
    // FileNotFound when it is missing. The root cannot be deleted.
    virtual long DeleteKey(const RegKeyPath& key) = 0;

    // Value operations need an existing key (FileNotFound otherwise); a
    // value is never written into a key that is not there.
    virtual long QueryValue(const RegKeyPath& key, const std::string& name, RegValue& value) = 0;
    virtual long SetValue(const RegKeyPath& key, const std::string& name, std::uint32_t type,
                          const std::vector<std::uint8_t>& data) = 0;
    virtual long DeleteValue(const RegKeyPath& key, const std::string& name) = 0;

    // Direct subkey names in case-insensitive name order.
    virtual long EnumSubKeys(const RegKeyPath& key, std::vector<std::string>& names) = 0;
    // Values in the order they were first created.
    virtual long EnumValues(const RegKeyPath& key, std::vector<RegValue>& values) = 0;

    // Makes everything written so far durable.
    virtual long Flush() = 0;

    // Applies every edit or none, in order. DeleteTree and DeleteValue of
    // something missing are not failures; anything else failing undoes the
    // batch.
    virtual long Apply(const std::vector<RegEdit>& edits) = 0;
};

// Splits a key path written the Windows way ("Software\DVR\", one trailing
// backslash allowed) into components. False for a leading backslash, an empty
// component or a component longer than 255 characters.
inline bool SplitRegKeyPath(const std::string& path, RegKeyPath& key)
{
    key.clear();
    std::string text = path;
    if (!text.empty() && text.back() == '\\')
        text.pop_back();
    if (text.empty())
        return path.empty();
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find('\\', start);
        std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::size_t characters = 0;
        for (unsigned char c : part)
            characters += (c & 0xC0) != 0x80;
        if (part.empty() || characters > 255) {
            key.clear();
            return false;
        }
        key.push_back(std::move(part));
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

// The process-wide store every CRegConfig works over; none set means every
// registry operation fails.
namespace regdetail {
struct BackendSlot {
    std::mutex lock; // guards backend
    std::shared_ptr<RegistryBackend> backend;
};
inline BackendSlot& Slot()
{
    static BackendSlot slot;
    return slot;
}
} // namespace regdetail

inline void SetRegistryBackend(std::shared_ptr<RegistryBackend> backend)
{
    auto& slot = regdetail::Slot();
    std::lock_guard<std::mutex> hold(slot.lock);
    slot.backend = std::move(backend);
}

inline std::shared_ptr<RegistryBackend> GetRegistryBackend()
{
    auto& slot = regdetail::Slot();
    std::lock_guard<std::mutex> hold(slot.lock);
    return slot.backend;
}
