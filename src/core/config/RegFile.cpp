#include "core/config/RegFile.h"

#include "core/text/Utf8.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

namespace {

const char* const kHeader5 = "Windows Registry Editor Version 5.00";
const char* const kHeader4 = "REGEDIT4";
const char* const kRootName = "HKEY_CURRENT_USER";
const char* const kRootShort = "HKCU";
// regedit breaks a hex list once a line reaches this many characters.
constexpr std::size_t kWrapColumn = 76;

// ---- Text encodings -------------------------------------------------------

bool IsValidUtf8(const std::string& s)
{
    char32_t c = 0;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t length = text::Utf8SequenceAt(s, i, c);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// Stored bytes to UTF-16; a byte that starts no valid sequence becomes the
// lone surrogate 0xDC00 + byte.
std::u16string ToUtf16(const std::string& s)
{
    std::u16string out;
    char32_t c = 0;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t length = text::Utf8SequenceAt(s, i, c);
        if (length == 0) {
            out += char16_t(0xDC00 + static_cast<std::uint8_t>(s[i++]));
            continue;
        }
        i += length;
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

// The inverse of ToUtf16. Other lone surrogates, which we never write, read
// as U+FFFD.
std::string FromUtf16(const std::u16string& w)
{
    std::string out;
    for (std::size_t i = 0; i < w.size(); ++i) {
        char32_t c = w[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
            text::AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (w[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            out += char(c - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            text::AppendUtf8(out, 0xFFFD);
        } else {
            text::AppendUtf8(out, c);
        }
    }
    return out;
}

std::u16string Utf16FromBytes(const std::uint8_t* bytes, std::size_t size, bool bigEndian)
{
    std::u16string out;
    out.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        out += bigEndian ? char16_t(bytes[i] << 8 | bytes[i + 1]) : char16_t(bytes[i] | bytes[i + 1] << 8);
    return out;
}

void AppendUtf16Le(std::vector<std::uint8_t>& out, const std::u16string& w)
{
    for (char16_t unit : w) {
        out.push_back(std::uint8_t(unit & 0xFF));
        out.push_back(std::uint8_t(unit >> 8));
    }
}

// Windows-1252 for 0x80..0x9F; the five bytes it leaves undefined, and
// everything from 0xA0, read as Latin-1.
char32_t FromWindows1252(std::uint8_t byte)
{
    static const char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

// 8-bit text: UTF-8 when all of it is valid UTF-8, Windows-1252 otherwise.
std::string From8Bit(const std::string& bytes)
{
    if (IsValidUtf8(bytes))
        return bytes;
    std::string out;
    for (unsigned char byte : bytes)
        text::AppendUtf8(out, FromWindows1252(byte));
    return out;
}

// The whole file as UTF-8 text (with escaped bytes, see ToUtf16).
std::string DecodeFile(const std::vector<std::uint8_t>& bytes)
{
    std::size_t size = bytes.size();
    const std::uint8_t* data = bytes.data();
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE)
        return FromUtf16(Utf16FromBytes(data + 2, size - 2, false));
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF)
        return FromUtf16(Utf16FromBytes(data + 2, size - 2, true));
    // Without a BOM, ASCII text in UTF-16 shows itself by its zero bytes.
    if (size >= 2 && data[0] != 0 && data[1] == 0)
        return FromUtf16(Utf16FromBytes(data, size, false));
    if (size >= 2 && data[0] == 0 && data[1] != 0)
        return FromUtf16(Utf16FromBytes(data, size, true));
    std::string text(bytes.begin(), bytes.end());
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    return From8Bit(text);
}

// ---- Reading --------------------------------------------------------------

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& s)
{
    std::size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits, nothing else.
std::optional<std::uint32_t> ParseHexNumber(const std::string& text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | std::uint32_t(digit);
    }
    return value;
}

struct Line {
    int number;
    std::string text;
};

std::vector<Line> SplitLines(const std::string& text)
{
    std::vector<Line> lines;
    std::string current;
    int number = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back({number++, current});
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty())
        lines.push_back({number, current});
    return lines;
}

class Reader {
public:
    Reader(std::vector<Line> lines, RegFileContents& contents) : m_lines(std::move(lines)), m_contents(contents) {}

    bool Read(std::string& error);

private:
    bool Fail(int line, const std::string& what)
    {
        m_error = "line " + std::to_string(line) + ": " + what;
        return false;
    }
    bool ReadHeader();
    bool ReadSection(const Line& line, const std::string& text);
    bool ReadValue(std::size_t& index, const std::string& text);
    // A quoted text starting at pos (on the opening quote); pos ends after
    // the closing quote.
    bool ReadQuoted(const Line& line, const std::string& text, std::size_t& pos, std::string& out);
    bool ReadData(std::size_t& index, const std::string& data, RegFileValue& value);
    bool ReadHexList(std::size_t& index, std::string list, std::vector<std::uint8_t>& bytes);

    std::vector<Line> m_lines;
    RegFileContents& m_contents;
    std::string m_error;
    bool m_wideStrings = true;      // hex(1), hex(2), hex(7) hold UTF-16 (version 5 files)
    bool m_inSection = false;
    bool m_sectionRemoved = false;  // values under [-KEY] are read but dropped
};

bool Reader::Read(std::string& error)
{
    bool ok = ReadHeader();
    for (std::size_t i = 0; ok && i < m_lines.size(); ++i) {
        std::string text = Trim(m_lines[i].text);
        if (text.empty() || text[0] == ';')
            continue;
        if (text[0] == '[')
            ok = ReadSection(m_lines[i], text);
        else if (text[0] == '"' || text[0] == '@')
            ok = ReadValue(i, text);
        else
            ok = Fail(m_lines[i].number, "expected a [key], a \"name\"= or @= line");
    }
    error = m_error;
    return ok;
}

bool Reader::ReadHeader()
{
    auto first = std::find_if(m_lines.begin(), m_lines.end(), [](const Line& l) { return !Trim(l.text).empty(); });
    if (first == m_lines.end())
        return Fail(1, "empty file, expected \"" + std::string(kHeader5) + "\"");
    std::string header = Trim(first->text);
    if (header == kHeader5)
        m_wideStrings = true;
    else if (header == kHeader4)
        m_wideStrings = false;
    else
        return Fail(first->number, "expected \"" + std::string(kHeader5) + "\" or \"" + kHeader4 + "\"");
    m_lines.erase(m_lines.begin(), first + 1);
    return true;
}

bool Reader::ReadSection(const Line& line, const std::string& text)
{
    std::size_t close = text.rfind(']');
    if (close == std::string::npos)
        return Fail(line.number, "key name without closing ]");
    if (!Trim(text.substr(close + 1)).empty())
        return Fail(line.number, "text after the closing ]");
    std::string name = text.substr(1, close - 1);
    RegFileSection section;
    if (!name.empty() && name[0] == '-') {
        section.remove = true;
        name.erase(0, 1);
    }
    std::string why;
    if (!CRegFile::ParseRootedKey(name, section.key, why))
        return Fail(line.number, why);
    if (section.remove && section.key.empty())
        return Fail(line.number, "the root key cannot be deleted");
    m_inSection = true;
    m_sectionRemoved = section.remove;
    m_contents.sections.push_back(std::move(section));
    return true;
}

bool Reader::ReadQuoted(const Line& line, const std::string& text, std::size_t& pos, std::string& out)
{
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"'))
            c = text[++pos];
        out += c;
    }
    return Fail(line.number, "text without closing quote");
}

bool Reader::ReadValue(std::size_t& index, const std::string& text)
{
    const Line& line = m_lines[index];
    RegFileValue value;
    std::size_t pos = 0;
    if (text[0] == '@') {
        pos = 1;
    } else if (!ReadQuoted(line, text, pos, value.name)) {
        return false;
    }
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos >= text.size() || text[pos] != '=')
        return Fail(line.number, "expected = after the value name");
    if (!m_inSection)
        return Fail(line.number, "value outside any [key] section");
    if (!ReadData(index, Trim(text.substr(pos + 1)), value))
        return false;
    if (!m_sectionRemoved)
        m_contents.sections.back().values.push_back(std::move(value));
    return true;
}

bool Reader::ReadData(std::size_t& index, const std::string& data, RegFileValue& value)
{
    const Line& line = m_lines[index];
    if (data == "-") {
        value.remove = true;
        return true;
    }
    if (!data.empty() && data[0] == '"') {
        std::size_t pos = 0;
        std::string text;
        if (!ReadQuoted(line, data, pos, text))
            return false;
        if (!Trim(data.substr(pos)).empty())
            return Fail(line.number, "text after the closing quote");
        value.type = REG_SZ;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
        return true;
    }
    std::size_t colon = data.find(':');
    std::string kind = Trim(data.substr(0, colon));
    std::string rest = colon == std::string::npos ? std::string() : data.substr(colon + 1);
    if (colon != std::string::npos && EqualsNoCase(kind, "dword")) {
        auto number = ParseHexNumber(Trim(rest), 8);
        if (!number)
            return Fail(line.number, "dword: needs 1 to 8 hex digits");
        value.type = REG_DWORD;
        value.data = {std::uint8_t(*number), std::uint8_t(*number >> 8), std::uint8_t(*number >> 16),
                      std::uint8_t(*number >> 24)};
        return true;
    }
    if (colon != std::string::npos && EqualsNoCase(kind, "hex")) {
        value.type = REG_BINARY;
    } else if (colon != std::string::npos && kind.size() > 5 && EqualsNoCase(kind.substr(0, 4), "hex(")
               && kind.back() == ')') {
        auto type = ParseHexNumber(kind.substr(4, kind.size() - 5), 8);
        if (!type)
            return Fail(line.number, "hex(N): needs a hex type number");
        value.type = *type;
    } else {
        return Fail(line.number, "value data must be \"text\", dword:, hex:, hex(N): or -");
    }
    int first = line.number;
    if (!ReadHexList(index, rest, value.data))
        return false;
    bool isText = value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
    if (isText && m_wideStrings) {
        if (value.data.size() % 2 != 0)
            return Fail(first, "odd number of bytes in a UTF-16 text value");
        std::string text = FromUtf16(Utf16FromBytes(value.data.data(), value.data.size(), false));
        value.data.assign(text.begin(), text.end());
    } else if (isText) {
        std::string text = From8Bit(std::string(value.data.begin(), value.data.end()));
        value.data.assign(text.begin(), text.end());
    }
    return true;
}

bool Reader::ReadHexList(std::size_t& index, std::string list, std::vector<std::uint8_t>& bytes)
{
    while (true) {
        int number = m_lines[index].number;
        std::string part = Trim(list);
        bool continued = !part.empty() && part.back() == '\\';
        if (continued)
            part.pop_back();
        std::size_t start = 0;
        while (start < part.size()) {
            std::size_t comma = part.find(',', start);
            std::string token = Trim(part.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            bool last = comma == std::string::npos;
            // A list continued on the next line ends its line with a comma.
            if (token.empty() && last && start > 0)
                break;
            auto byte = ParseHexNumber(token, 2);
            if (!byte)
                return Fail(number, "bad byte \"" + token + "\" in hex list");
            bytes.push_back(std::uint8_t(*byte));
            if (last)
                break;
            start = comma + 1;
        }
        if (!continued)
            return true;
        if (index + 1 >= m_lines.size())
            return Fail(number, "hex list continued past the end of the file");
        list = m_lines[++index].text;
    }
}

// ---- Writing --------------------------------------------------------------

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

std::size_t Characters(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// REG_SZ data that reads back identically from the "text" form: one
// terminating zero and no other, and no line breaks.
bool FitsQuotedForm(const std::vector<std::uint8_t>& data)
{
    if (data.empty() || data.back() != 0)
        return false;
    return std::none_of(data.begin(), data.end() - 1, [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

void AppendHexList(std::string& out, std::string line, const std::vector<std::uint8_t>& bytes)
{
    char hex[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        line += hex;
        if (i + 1 == bytes.size())
            break;
        line += ',';
        if (Characters(line) >= kWrapColumn) {
            out += line + "\\\r\n";
            line = "  ";
        }
    }
    out += line + "\r\n";
}

void AppendValue(std::string& out, const RegFileValue& value)
{
    std::string line = value.name.empty() ? "@=" : "\"" + Escape(value.name) + "\"=";
    if (value.remove) {
        out += line + "-\r\n";
        return;
    }
    if (value.type == REG_SZ && FitsQuotedForm(value.data)) {
        out += line + "\"" + Escape(std::string(value.data.begin(), value.data.end() - 1)) + "\"\r\n";
        return;
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        char number[16];
        std::snprintf(number, sizeof number, "dword:%02x%02x%02x%02x", value.data[3], value.data[2], value.data[1],
                      value.data[0]);
        out += line + number + "\r\n";
        return;
    }
    if (value.type == REG_BINARY) {
        AppendHexList(out, line + "hex:", value.data);
        return;
    }
    char kind[24];
    std::snprintf(kind, sizeof kind, "hex(%x):", static_cast<unsigned>(value.type));
    std::vector<std::uint8_t> bytes;
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ)
        AppendUtf16Le(bytes, ToUtf16(std::string(value.data.begin(), value.data.end())));
    else
        bytes = value.data;
    AppendHexList(out, line + kind, bytes);
}

// A line break cannot be written in a name: the file would read back as
// something else.
bool HasLineBreak(const std::string& name)
{
    return name.find_first_of("\r\n") != std::string::npos;
}

bool CollectKey(RegistryBackend& store, const RegKeyPath& key, RegFileContents& contents, std::string& error)
{
    if (!key.empty() && HasLineBreak(key.back())) {
        error = "key name with a line break cannot be exported: " + CRegFile::RootedKeyText(key);
        return false;
    }
    RegFileSection section;
    section.key = key;
    std::vector<RegValue> values;
    std::vector<std::string> subkeys;
    if (store.EnumValues(key, values) != regerr::Success || store.EnumSubKeys(key, subkeys) != regerr::Success) {
        error = "cannot read key " + CRegFile::RootedKeyText(key);
        return false;
    }
    // The default value comes first, as regedit writes it.
    std::stable_partition(values.begin(), values.end(), [](const RegValue& v) { return v.name.empty(); });
    for (auto& value : values) {
        if (HasLineBreak(value.name)) {
            error = "value name with a line break cannot be exported, in " + CRegFile::RootedKeyText(key);
            return false;
        }
        section.values.push_back({value.name, false, value.type, std::move(value.data)});
    }
    contents.sections.push_back(std::move(section));
    for (const auto& name : subkeys) {
        RegKeyPath child = key;
        child.push_back(name);
        if (!CollectKey(store, child, contents, error))
            return false;
    }
    return true;
}

} // namespace

bool CRegFile::ParseRootedKey(const std::string& text, RegKeyPath& key, std::string& error)
{
    std::size_t slash = text.find('\\');
    std::string root = text.substr(0, slash);
    if (!EqualsNoCase(root, kRootName) && !EqualsNoCase(root, kRootShort)) {
        error = "only keys under HKEY_CURRENT_USER can be used, not \"" + root + "\"";
        return false;
    }
    std::string below = slash == std::string::npos ? std::string() : text.substr(slash + 1);
    if (slash != std::string::npos && below.empty()) {
        key.clear();
        return true;
    }
    if (!SplitRegKeyPath(below, key)) {
        error = "malformed key name \"" + text + "\"";
        return false;
    }
    return true;
}

std::string CRegFile::RootedKeyText(const RegKeyPath& key)
{
    std::string text = kRootName;
    for (const auto& part : key)
        text += "\\" + part;
    return text;
}

bool CRegFile::Parse(const std::vector<std::uint8_t>& bytes, RegFileContents& contents, std::string& error)
{
    RegFileContents parsed;
    Reader reader(SplitLines(DecodeFile(bytes)), parsed);
    if (!reader.Read(error))
        return false;
    contents = std::move(parsed);
    return true;
}

std::vector<std::uint8_t> CRegFile::Format(const RegFileContents& contents)
{
    std::string text = std::string(kHeader5) + "\r\n\r\n";
    for (const auto& section : contents.sections) {
        std::string name = RootedKeyText(section.key);
        text += (section.remove ? "[-" : "[") + name + "]\r\n";
        for (const auto& value : section.values)
            AppendValue(text, value);
        text += "\r\n";
    }
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    AppendUtf16Le(bytes, ToUtf16(text));
    return bytes;
}

bool CRegFile::Collect(RegistryBackend& store, const RegKeyPath& branch, RegFileContents& contents,
                       std::string& error)
{
    RegFileContents collected;
    RegKeyPath stored;
    if (store.StoredSpelling(branch, stored) != regerr::Success) {
        error = "key not found: " + RootedKeyText(branch);
        return false;
    }
    if (!CollectKey(store, stored, collected, error))
        return false;
    contents = std::move(collected);
    return true;
}

bool CRegFile::Apply(RegistryBackend& store, const RegFileContents& contents, std::string& error)
{
    std::vector<RegEdit> edits;
    for (const auto& section : contents.sections) {
        RegEdit key;
        key.kind = section.remove ? RegEdit::Kind::DeleteTree : RegEdit::Kind::CreateKey;
        key.key = section.key;
        edits.push_back(key);
        if (section.remove)
            continue;
        for (const auto& value : section.values) {
            RegEdit edit;
            edit.kind = value.remove ? RegEdit::Kind::DeleteValue : RegEdit::Kind::SetValue;
            edit.key = section.key;
            edit.valueName = value.name;
            edit.type = value.type;
            edit.data = value.data;
            edits.push_back(std::move(edit));
        }
    }
    long code = store.Apply(edits);
    if (code != regerr::Success) {
        error = "the registry could not be changed (error " + std::to_string(code) + "); nothing was imported";
        return false;
    }
    return true;
}

bool CRegFile::Export(RegistryBackend& store, const std::string& branch, std::vector<std::uint8_t>& bytes,
                      std::string& error)
{
    RegKeyPath key;
    RegFileContents contents;
    if (!ParseRootedKey(branch, key, error) || !Collect(store, key, contents, error))
        return false;
    bytes = Format(contents);
    return true;
}

bool CRegFile::Import(RegistryBackend& store, const std::vector<std::uint8_t>& bytes, std::string& error)
{
    RegFileContents contents;
    return Parse(bytes, contents, error) && Apply(store, contents, error);
}
