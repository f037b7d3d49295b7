#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CRegConfig;

// One registered recorder: the key Software\DVR\ServerInfo\<name> and its
// values. A missing value reads as empty text or port 0.
struct ServerRecord {
    std::string name;      // the key's own name
    std::string ip;        // "IP": dotted IPv4 or a DDNS name
    std::uint32_t port = 0;  // "Port"
    std::string account;   // "Account": ADMIN, GUEST0 or GUEST1
    std::string password;  // "Pass", as typed
    std::string dvrType;   // "DVR Type": a model name of the DVR type table
    std::string protocol;  // "Protocol": "TCP" or "UDP"
    std::string ddns;      // "DDNS": dotted IPv4 of the DDNS server
    bool reconnect = true; // "Reconnect": a dropped session is tried again; missing reads as on
    bool operator==(const ServerRecord&) const = default;
};

// The port as the lists and the connect call show it ("%d").
std::string PortText(std::uint32_t port);

inline constexpr const char* kServerInfoKey = "Software\\DVR\\ServerInfo\\";
inline constexpr const char* kDvrTypeKey = "Software\\DVR\\DVR_TYPE";
inline constexpr int kModelCount = 6;
using ModelNameTable = std::array<std::string, kModelCount>;

// The built-in model names, position 1 (MODEL_A) to 6 (MODEL_F).
const ModelNameTable& DefaultModelNames();

// The server records in the registry, read and written through one CRegConfig
// (its current key is moved by every call).
class ServerDirectory {
public:
    explicit ServerDirectory(CRegConfig& reg) : m_reg(reg) {}

    // Every record in the registry's enumeration order. A key that cannot be
    // opened between listing and reading still gives its name, with defaults.
    std::vector<ServerRecord> List();
    // The record of that name; empty when its key is missing (never created).
    std::optional<ServerRecord> Find(const std::string& name);
    bool Exists(const std::string& name);
    // Creates the key if needed and writes every value, in the order DVR
    // Type, Account, Pass, IP, Port (4-byte REG_BINARY), Protocol, DDNS.
    // "Reconnect" is left as it stands: the dialog that writes records does
    // not edit it, and writing it would undo an operator's choice.
    // False, with nothing written, for a name that cannot be a key name or a
    // text too long to store.
    bool Write(const ServerRecord& record);
    // Deletes the record's key. False for a name that cannot be a record's
    // (so the ServerInfo key itself is never deleted) or when it is missing.
    bool Remove(const std::string& name);
    // The six names of the DVR type table, each defaulting to its built-in name.
    ModelNameTable ModelNames();

    // A single key name: not empty, no backslash, at most 255 characters.
    static bool IsValidName(const std::string& name);

private:
    void ReadValues(ServerRecord& record);

    CRegConfig& m_reg;
};
