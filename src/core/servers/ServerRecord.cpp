#include "core/servers/ServerRecord.h"

#include "core/config/RegConfig.h"

namespace {

std::string KeyOf(const std::string& name)
{
    return std::string(kServerInfoKey) + name;
}

// "Port" is read as the first four bytes of whatever the value holds: a
// shorter value fills the low bytes and leaves the rest zero, so a 2-byte
// port still reads as the port.
std::uint32_t ReadLeadingInt(const std::string& keyPath, const std::string& valueName, std::uint32_t missing = 0)
{
    auto backend = GetRegistryBackend();
    RegKeyPath key;
    RegValue value;
    if (!backend || !SplitRegKeyPath(keyPath, key) || backend->QueryValue(key, valueName, value) != regerr::Success)
        return missing;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < value.data.size() && i < 4; ++i)
        bits |= std::uint32_t(value.data[i]) << (8 * i);
    return bits;
}

bool Storable(const std::string& text)
{
    return text.size() <= CRegConfig::kMaxTextBytes;
}

} // namespace

std::string PortText(std::uint32_t port)
{
    return std::to_string(static_cast<std::int32_t>(port));
}

const ModelNameTable& DefaultModelNames()
{
    static const ModelNameTable names{"MODEL_A", "MODEL_B", "MODEL_C", "MODEL_D", "MODEL_E", "MODEL_F"};
    return names;
}

bool ServerDirectory::IsValidName(const std::string& name)
{
    RegKeyPath key;
    return !name.empty() && name.find('\\') == std::string::npos && SplitRegKeyPath(name, key) && key.size() == 1;
}

void ServerDirectory::ReadValues(ServerRecord& record)
{
    record.ip = m_reg.ReadString("IP", "");
    record.port = ReadLeadingInt(KeyOf(record.name), "Port");
    record.account = m_reg.ReadString("Account", "");
    record.password = m_reg.ReadString("Pass", "");
    record.dvrType = m_reg.ReadString("DVR Type", "");
    record.protocol = m_reg.ReadString("Protocol", "");
    record.ddns = m_reg.ReadString("DDNS", "");
    record.reconnect = ReadLeadingInt(KeyOf(record.name), "Reconnect", 1) != 0;
}

std::vector<ServerRecord> ServerDirectory::List()
{
    std::vector<std::string> names;
    m_reg.EnumSubKeyNames(kServerInfoKey, names);
    std::vector<ServerRecord> records;
    records.reserve(names.size());
    for (const auto& name : names) {
        ServerRecord record;
        record.name = name;
        if (m_reg.SetKey(KeyOf(name), false))
            ReadValues(record);
        records.push_back(std::move(record));
    }
    return records;
}

std::optional<ServerRecord> ServerDirectory::Find(const std::string& name)
{
    // A failed SetKey keeps the previous key current: never read on from it.
    if (!IsValidName(name) || !m_reg.SetKey(KeyOf(name), false))
        return std::nullopt;
    ServerRecord record;
    record.name = name;
    ReadValues(record);
    return record;
}

bool ServerDirectory::Exists(const std::string& name)
{
    return IsValidName(name) && m_reg.KeyExists(KeyOf(name));
}

bool ServerDirectory::Write(const ServerRecord& record)
{
    for (const std::string* text : {&record.dvrType, &record.account, &record.password, &record.ip, &record.protocol,
                                    &record.ddns})
        if (!Storable(*text))
            return false;
    if (!IsValidName(record.name) || !m_reg.SetKey(KeyOf(record.name), true))
        return false;
    return m_reg.WriteString("DVR Type", record.dvrType) && m_reg.WriteString("Account", record.account)
        && m_reg.WriteString("Pass", record.password) && m_reg.WriteString("IP", record.ip)
        && m_reg.WriteInt("Port", static_cast<int>(record.port)) && m_reg.WriteString("Protocol", record.protocol)
        && m_reg.WriteString("DDNS", record.ddns);
}

bool ServerDirectory::Remove(const std::string& name)
{
    if (!Exists(name))
        return false;
    return m_reg.DeleteKey(KeyOf(name));
}

ModelNameTable ServerDirectory::ModelNames()
{
    static const char* const codes[kModelCount] = {"MDLA", "MDLB", "MDLC", "MDLD", "MDLE", "MDLF"};
    ModelNameTable names = DefaultModelNames();
    if (!m_reg.SetKey(kDvrTypeKey, false))
        return names;
    for (int i = 0; i < kModelCount; ++i)
        names[i] = m_reg.ReadString(codes[i], names[i]);
    return names;
}
