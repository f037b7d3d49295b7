#include "core/app/LanguagePack.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<LanguagePack> Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return std::nullopt;
}

std::optional<LanguagePack> FailAt(std::string* error, int line, const std::string& message)
{
    return Fail(error, "line " + std::to_string(line) + ": " + message);
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (s.size() - i < length)
            return false;
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if (second < low || second > high)
            return false;
        for (std::size_t k = 2; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if (next < 0x80 || next > 0xBF)
                return false;
        }
        i += length;
    }
    return true;
}

bool IsBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Returns an empty optional and sets message when the id field is not a
// plain decimal number in range.
std::optional<int> ParseId(std::string_view field, std::string* message)
{
    if (field.empty()) {
        *message = "the line does not start with a string id";
        return std::nullopt;
    }
    for (char c : field)
        if (c < '0' || c > '9') {
            *message = "the string id \"" + std::string(field) + "\" is not a decimal number";
            return std::nullopt;
        }
    if (field.size() > 1 && field[0] == '0') {
        *message = "the string id \"" + std::string(field) + "\" has a leading zero";
        return std::nullopt;
    }
    if (field.size() > 5 || std::stol(std::string(field)) > LanguagePack::MaxId) {
        *message = "the string id " + std::string(field) + " is out of range 0.." +
                   std::to_string(LanguagePack::MaxId);
        return std::nullopt;
    }
    return std::stoi(std::string(field));
}

std::optional<std::string> Unescape(std::string_view field, std::string* message)
{
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto c = static_cast<unsigned char>(field[i]);
        if (c == '\t') {
            *message = "a second TAB in the line (write \\t for a tab in the text)";
            return std::nullopt;
        }
        if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", c);
            *message = std::string("control character ") + hex + " in the text";
            return std::nullopt;
        }
        if (c != '\\') {
            text.push_back(static_cast<char>(c));
            continue;
        }
        if (++i == field.size()) {
            *message = "the text ends in a lone backslash (write \\\\ for a backslash)";
            return std::nullopt;
        }
        switch (field[i]) {
        case 'n': text.push_back('\n'); break;
        case 't': text.push_back('\t'); break;
        case '\\': text.push_back('\\'); break;
        default:
            *message = std::string("unknown escape \\") + field[i] +
                       " (only \\n, \\t and \\\\ are known)";
            return std::nullopt;
        }
    }
    return text;
}

} // namespace

std::optional<LanguagePack> LanguagePack::Parse(std::string_view bytes, std::string* error)
{
    if (bytes.size() > MaxFileBytes)
        return Fail(error, "the file is larger than " + std::to_string(MaxFileBytes) + " bytes");
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return FailAt(error, 1, "the file is UTF-16; save it as UTF-8");
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);

    LanguagePack pack;
    std::map<int, int> definedOnLine;
    int lineNumber = 0;
    while (!bytes.empty()) {
        ++lineNumber;
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);

        if (!IsValidUtf8(line))
            return FailAt(error, lineNumber, "invalid UTF-8");
        if (IsBlank(line) || line.starts_with('#'))
            continue;

        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            return FailAt(error, lineNumber, "no TAB between the string id and the text");
        std::string message;
        const std::optional<int> id = ParseId(line.substr(0, tab), &message);
        if (!id)
            return FailAt(error, lineNumber, message);
        std::optional<std::string> text = Unescape(line.substr(tab + 1), &message);
        if (!text)
            return FailAt(error, lineNumber, message);
        if (text->empty())
            return FailAt(error, lineNumber, "string id " + std::to_string(*id) + " has no text");
        const auto [previous, isNew] = definedOnLine.emplace(*id, lineNumber);
        if (!isNew)
            return FailAt(error, lineNumber,
                          "string id " + std::to_string(*id) + " is already defined on line " +
                              std::to_string(previous->second));
        pack.texts_.emplace(*id, std::move(*text));
    }
    if (pack.texts_.empty())
        return Fail(error, "the pack holds no strings");
    return pack;
}

std::optional<LanguagePack> LanguagePack::LoadFile(const std::string& path, std::string* error)
{
    // Non-blocking open: a FIFO put in the pack's place must not hang start-up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail(error, path + ": " + std::strerror(errno));
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};

    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Fail(error, path + ": " + std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        return Fail(error, path + ": not a regular file");

    // Read one byte past the limit, so a file that grows while it is read is
    // still refused without reading all of it.
    std::string bytes(MaxFileBytes + 1, '\0');
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + total, bytes.size() - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Fail(error, path + ": " + std::strerror(errno));
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    bytes.resize(total);

    std::string parseError;
    std::optional<LanguagePack> pack = Parse(bytes, &parseError);
    if (!pack)
        return Fail(error, path + ": " + parseError);
    return pack;
}

const std::string* LanguagePack::Find(int id) const
{
    const auto it = texts_.find(id);
    return it == texts_.end() ? nullptr : &it->second;
}

std::vector<int> LanguagePack::Ids() const
{
    std::vector<int> ids;
    ids.reserve(texts_.size());
    for (const auto& entry : texts_)
        ids.push_back(entry.first);
    return ids;
}
