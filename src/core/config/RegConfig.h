#pragma once

#include "core/config/RegistryBackend.h"

#include <cstdint>
#include <string>
#include <vector>

// Registry value types, with their Windows codes (a stored format).
constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_MULTI_SZ = 7;

// Registry root handles. Only HKEY_CURRENT_USER is backed by a store.
using HKEY = std::uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;

// The program's only access to its configuration. A short-lived object: pick
// a key with SetKey, read or write a few values, let it go. Nothing is held
// open between calls. Integers are stored as 4-byte REG_BINARY, texts as
// REG_SZ of at most 254 bytes; every read returns the caller's default when
// anything fails.
class CRegConfig {
public:
    CRegConfig() = default;
    ~CRegConfig() { Reset(); }
    CRegConfig(const CRegConfig&) = delete;
    CRegConfig& operator=(const CRegConfig&) = delete;

    // Empty path: clears the current path and succeeds. Otherwise opens (or
    // with allowCreate creates) the key and makes it current; on failure the
    // current path stays. Without allowCreate the result is the last error.
    bool SetKey(const std::string& path, bool allowCreate);
    bool ValueExists(const std::string& name);
    // Type code of the value, 0 when the key or value is missing (recorded
    // as the last error).
    std::uint32_t GetDataType(const std::string& name);
    // Exactly 4 stored bytes, little-endian, whatever their type.
    int ReadInt(const std::string& name, int defaultValue);
    bool WriteInt(const std::string& name, int value);
    // REG_SZ or REG_EXPAND_SZ (unexpanded) of at most 254 bytes.
    std::string ReadString(const std::string& name, const std::string& defaultValue);
    // Refuses texts of 255 bytes or more, leaving the old value.
    bool WriteString(const std::string& name, const std::string& value);
    bool KeyExists(const std::string& path, HKEY root = HKEY_CURRENT_USER);
    // A missing key counts as deleted; a key with subkeys is not deleted.
    bool DeleteKey(const std::string& path);
    // Direct subkeys; -1 when the key cannot be opened.
    int GetSubKeyCount(const std::string& path);
    // Replaces names with the subkey names in case-insensitive order and
    // returns their count (0 when there are none or the key is missing).
    int EnumSubKeyNames(const std::string& path, std::vector<std::string>& names);

    void Reset();
    void SetLazyWrite(bool lazy) { m_lazyWrite = lazy; }
    long GetLastError() const { return m_lastError; }
    const std::string& CurrentPath() const { return m_currentPath; }

    static constexpr std::size_t kMaxTextBytes = 254;
    static constexpr std::size_t kReadBufferBytes = 255;

private:
    // Resolves path under the root; false with code set when it cannot be.
    bool Resolve(const std::string& path, RegKeyPath& key, long& code) const;
    long Query(const std::string& name, RegValue& value) const;
    bool Write(const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data);
    void FlushUnlessLazy(RegistryBackend& backend) const;

    long m_lastError = 0;
    HKEY m_root = HKEY_CURRENT_USER;
    bool m_lazyWrite = true;
    std::string m_currentPath;
};
