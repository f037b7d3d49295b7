#pragma once

#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"

#include <cstdint>
#include <string>
#include <vector>

// Registry files as the Windows registry editor writes and reads them
// (the dialect is described in docs/registry.md).
//
// Texts: the store keeps texts as UTF-8 bytes; a file keeps them as UTF-16.
// Bytes that are not valid UTF-8 travel through UTF-16 as the lone
// surrogates U+DC80..U+DCFF (one per byte) and come back as the same bytes,
// so anything this program stored survives an export and an import.

struct RegFileValue {
    std::string name;                 // empty: the key's default value ("@")
    bool remove = false;              // "name"=-
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;   // as the store keeps it (texts in UTF-8)
};

struct RegFileSection {
    RegKeyPath key;                   // below HKEY_CURRENT_USER
    bool remove = false;              // [-KEY]: delete the key and everything below
    std::vector<RegFileValue> values;
};

struct RegFileContents {
    std::vector<RegFileSection> sections;
};

class CRegFile {
public:
    // Reads "Windows Registry Editor Version 5.00" and "REGEDIT4" files in
    // UTF-16 (either byte order, with BOM) or 8 bits (UTF-8, else
    // Windows-1252). On failure error says which line is wrong and how.
    static bool Parse(const std::vector<std::uint8_t>& bytes, RegFileContents& contents, std::string& error);

    // A version 5.00 file: UTF-16LE with BOM, CRLF line ends.
    static std::vector<std::uint8_t> Format(const RegFileContents& contents);

    // The branch and everything below it, each key before its subkeys.
    static bool Collect(RegistryBackend& store, const RegKeyPath& branch, RegFileContents& contents,
                        std::string& error);

    // Applies every section in one batch: all of it or nothing.
    static bool Apply(RegistryBackend& store, const RegFileContents& contents, std::string& error);

    // "HKEY_CURRENT_USER\Software\DVR" (or "HKCU\...") to the path below the
    // root; false with error for other roots or a malformed path.
    static bool ParseRootedKey(const std::string& text, RegKeyPath& key, std::string& error);
    static std::string RootedKeyText(const RegKeyPath& key);

    static bool Export(RegistryBackend& store, const std::string& branch, std::vector<std::uint8_t>& bytes,
                       std::string& error);
    static bool Import(RegistryBackend& store, const std::vector<std::uint8_t>& bytes, std::string& error);
};
