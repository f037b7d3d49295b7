#include "core/config/RegConfig.h"

#include <cstring>

bool CRegConfig::Resolve(const std::string& path, RegKeyPath& key, long& code) const
{
    if (m_root != HKEY_CURRENT_USER) {
        code = regerr::InvalidHandle;
        return false;
    }
    if (!SplitRegKeyPath(path, key)) {
        code = regerr::BadPathname;
        return false;
    }
    code = regerr::Success;
    return true;
}

void CRegConfig::FlushUnlessLazy(RegistryBackend& backend) const
{
    if (!m_lazyWrite)
        backend.Flush();
}

bool CRegConfig::SetKey(const std::string& path, bool allowCreate)
{
    if (path.empty()) {
        m_currentPath.clear();
        return true;
    }
    RegKeyPath key;
    long code = regerr::InvalidHandle;
    auto backend = GetRegistryBackend();
    if (backend && Resolve(path, key, code))
        code = allowCreate ? backend->CreateKey(key) : backend->OpenKey(key);
    if (!allowCreate)
        m_lastError = code;
    if (code != regerr::Success)
        return false;
    FlushUnlessLazy(*backend);
    m_currentPath = path;
    return true;
}

long CRegConfig::Query(const std::string& name, RegValue& value) const
{
    auto backend = GetRegistryBackend();
    if (!backend)
        return regerr::InvalidHandle;
    RegKeyPath key;
    long code = regerr::Success;
    if (!Resolve(m_currentPath, key, code))
        return code;
    return backend->QueryValue(key, name, value);
}

bool CRegConfig::ValueExists(const std::string& name)
{
    RegValue value;
    return Query(name, value) == regerr::Success;
}

std::uint32_t CRegConfig::GetDataType(const std::string& name)
{
    RegValue value;
    m_lastError = Query(name, value);
    return m_lastError == regerr::Success ? value.type : REG_NONE;
}

int CRegConfig::ReadInt(const std::string& name, int defaultValue)
{
    RegValue value;
    // A shorter value would leave part of the integer undefined, so only
    // exactly four bytes count as an integer.
    if (Query(name, value) != regerr::Success || value.data.size() != 4)
        return defaultValue;
    std::uint32_t bits = std::uint32_t(value.data[0]) | std::uint32_t(value.data[1]) << 8
        | std::uint32_t(value.data[2]) << 16 | std::uint32_t(value.data[3]) << 24;
    return static_cast<int>(bits);
}

bool CRegConfig::Write(const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data)
{
    auto backend = GetRegistryBackend();
    if (!backend)
        return false;
    RegKeyPath key;
    long code = regerr::Success;
    if (!Resolve(m_currentPath, key, code))
        return false;
    if (backend->SetValue(key, name, type, data) != regerr::Success)
        return false;
    FlushUnlessLazy(*backend);
    return true;
}

bool CRegConfig::WriteInt(const std::string& name, int value)
{
    auto bits = static_cast<std::uint32_t>(value);
    return Write(name, REG_BINARY,
                 {std::uint8_t(bits), std::uint8_t(bits >> 8), std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)});
}

std::string CRegConfig::ReadString(const std::string& name, const std::string& defaultValue)
{
    std::uint32_t type = GetDataType(name);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return defaultValue;
    RegValue value;
    if (Query(name, value) != regerr::Success || value.data.size() > kReadBufferBytes)
        return defaultValue;
    const char* bytes = reinterpret_cast<const char*>(value.data.data());
    std::string text(bytes, strnlen(bytes, value.data.size()));
    // A full buffer without its terminating zero holds a 255-byte text.
    if (text.size() > kMaxTextBytes)
        return defaultValue;
    return text;
}

bool CRegConfig::WriteString(const std::string& name, const std::string& value)
{
    if (value.size() > kMaxTextBytes)
        return false;
    std::vector<std::uint8_t> data(value.begin(), value.end());
    data.push_back(0);
    return Write(name, REG_SZ, data);
}

bool CRegConfig::KeyExists(const std::string& path, HKEY root)
{
    auto backend = GetRegistryBackend();
    RegKeyPath key;
    if (!backend || root != HKEY_CURRENT_USER || !SplitRegKeyPath(path, key))
        return false;
    return backend->OpenKey(key) == regerr::Success;
}

bool CRegConfig::DeleteKey(const std::string& path)
{
    auto backend = GetRegistryBackend();
    RegKeyPath key;
    long code = regerr::Success;
    if (!backend || !Resolve(path, key, code))
        return false;
    code = backend->DeleteKey(key);
    return code == regerr::Success || code == regerr::FileNotFound;
}

int CRegConfig::GetSubKeyCount(const std::string& path)
{
    std::vector<std::string> names;
    auto backend = GetRegistryBackend();
    RegKeyPath key;
    long code = regerr::Success;
    if (!backend || !Resolve(path, key, code) || backend->EnumSubKeys(key, names) != regerr::Success)
        return -1;
    return static_cast<int>(names.size());
}

int CRegConfig::EnumSubKeyNames(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    auto backend = GetRegistryBackend();
    RegKeyPath key;
    long code = regerr::Success;
    if (!backend || !Resolve(path, key, code) || backend->EnumSubKeys(key, names) != regerr::Success) {
        names.clear();
        return 0;
    }
    return static_cast<int>(names.size());
}

void CRegConfig::Reset()
{
    m_root = HKEY_CURRENT_USER;
    m_lazyWrite = true;
    m_currentPath.clear();
}
