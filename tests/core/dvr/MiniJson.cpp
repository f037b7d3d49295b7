#include "MiniJson.h"

#include <cstdint>
#include <cstdlib>

namespace {

class Reader {
public:
    explicit Reader(std::string_view s) : s_(s) {}

    bool Document(JsonValue& out)
    {
        SkipSpace();
        if (!Value(out, 0))
            return false;
        SkipSpace();
        return pos_ == s_.size() || Fail("trailing bytes");
    }
    std::string error;

private:
    bool Fail(const char* what)
    {
        if (error.empty())
            error = std::string(what) + " at byte " + std::to_string(pos_);
        return false;
    }
    void SkipSpace()
    {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool Literal(std::string_view word)
    {
        if (s_.substr(pos_, word.size()) != word)
            return Fail("bad literal");
        pos_ += word.size();
        return true;
    }
    bool Value(JsonValue& out, int depth)
    {
        if (depth > 64)
            return Fail("too deep");
        if (pos_ >= s_.size())
            return Fail("unexpected end");
        const char c = s_[pos_];
        if (c == '{')
            return Object(out, depth);
        if (c == '[')
            return Array(out, depth);
        if (c == '"') {
            out.kind = JsonValue::Kind::String;
            return String(out.text);
        }
        if (c == 't' || c == 'f') {
            out.kind = JsonValue::Kind::Bool;
            out.boolean = c == 't';
            return Literal(c == 't' ? "true" : "false");
        }
        if (c == 'n')
            return Literal("null");
        return Number(out);
    }
    bool Number(JsonValue& out)
    {
        const std::size_t start = pos_;
        if (pos_ < s_.size() && s_[pos_] == '-')
            ++pos_;
        if (pos_ >= s_.size() || !isdigit(static_cast<unsigned char>(s_[pos_])))
            return Fail("bad number");
        if (s_[pos_] == '0' && pos_ + 1 < s_.size() && isdigit(static_cast<unsigned char>(s_[pos_ + 1])))
            return Fail("leading zero");
        while (pos_ < s_.size() && (isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.'
                                    || s_[pos_] == 'e' || s_[pos_] == 'E' || s_[pos_] == '+' || s_[pos_] == '-'))
            ++pos_;
        out.kind = JsonValue::Kind::Number;
        out.number = std::strtod(std::string(s_.substr(start, pos_ - start)).c_str(), nullptr);
        return true;
    }
    static void AppendUtf8(std::string& out, std::uint32_t cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    // Checks one raw UTF-8 sequence by decoding it.
    bool RawUtf8(std::string& out)
    {
        const auto b0 = static_cast<unsigned char>(s_[pos_]);
        int extra;
        std::uint32_t cp;
        if (b0 >= 0xC0 && b0 < 0xE0) {
            extra = 1;
            cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 < 0xF0) {
            extra = 2;
            cp = b0 & 0x0F;
        } else if (b0 >= 0xF0 && b0 < 0xF8) {
            extra = 3;
            cp = b0 & 0x07;
        } else {
            return Fail("invalid UTF-8 lead byte");
        }
        if (pos_ + extra >= s_.size())
            return Fail("cut UTF-8 sequence");
        for (int k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s_[pos_ + k]);
            if ((b & 0xC0) != 0x80)
                return Fail("invalid UTF-8 continuation");
            cp = (cp << 6) | (b & 0x3F);
        }
        static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return Fail("overlong or out-of-range UTF-8");
        out.append(s_.substr(pos_, extra + 1));
        pos_ += extra + 1;
        return true;
    }
    bool String(std::string& out)
    {
        ++pos_; // opening quote
        while (pos_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[pos_]);
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c < 0x20)
                return Fail("raw control character in string");
            if (c >= 0x80) {
                if (!RawUtf8(out))
                    return false;
                continue;
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                ++pos_;
                continue;
            }
            if (++pos_ >= s_.size())
                return Fail("cut escape");
            const char e = s_[pos_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                if (pos_ + 4 > s_.size())
                    return Fail("cut \\u escape");
                std::uint32_t cp = 0;
                for (int k = 0; k < 4; ++k) {
                    const char h = s_[pos_++];
                    cp <<= 4;
                    if (h >= '0' && h <= '9')
                        cp |= h - '0';
                    else if (h >= 'a' && h <= 'f')
                        cp |= h - 'a' + 10;
                    else if (h >= 'A' && h <= 'F')
                        cp |= h - 'A' + 10;
                    else
                        return Fail("bad hex digit");
                }
                if (cp >= 0xD800 && cp <= 0xDFFF)
                    return Fail("lone surrogate");
                AppendUtf8(out, cp);
                break;
            }
            default: return Fail("bad escape");
            }
        }
        return Fail("unterminated string");
    }
    bool Array(JsonValue& out, int depth)
    {
        out.kind = JsonValue::Kind::Array;
        ++pos_;
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            SkipSpace();
            JsonValue item;
            if (!Value(item, depth + 1))
                return false;
            out.items.push_back(std::move(item));
            SkipSpace();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == ']') {
                ++pos_;
                return true;
            }
            return Fail("expected , or ]");
        }
    }
    bool Object(JsonValue& out, int depth)
    {
        out.kind = JsonValue::Kind::Object;
        ++pos_;
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == '}') {
            ++pos_;
            return true;
        }
        for (;;) {
            SkipSpace();
            if (pos_ >= s_.size() || s_[pos_] != '"')
                return Fail("expected key");
            std::string key;
            if (!String(key))
                return false;
            if (out.members.count(key))
                return Fail("duplicate key");
            SkipSpace();
            if (pos_ >= s_.size() || s_[pos_] != ':')
                return Fail("expected :");
            ++pos_;
            SkipSpace();
            JsonValue value;
            if (!Value(value, depth + 1))
                return false;
            out.members.emplace(std::move(key), std::move(value));
            SkipSpace();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == '}') {
                ++pos_;
                return true;
            }
            return Fail("expected , or }");
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

} // namespace

std::optional<JsonValue> ParseJson(std::string_view text, std::string* error)
{
    Reader reader(text);
    JsonValue value;
    if (!reader.Document(value)) {
        if (error)
            *error = reader.error;
        return std::nullopt;
    }
    return value;
}
