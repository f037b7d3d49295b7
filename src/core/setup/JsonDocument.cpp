#include "core/setup/JsonDocument.h"

#include <limits>

#include "core/text/Utf8.h"

namespace {

constexpr int kMaxDepth = 32;

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::optional<JsonNode> Document()
    {
        JsonNode root;
        if (!Value(root, 0))
            return std::nullopt;
        SkipBlanks();
        if (m_pos != m_text.size())
            return Fail("unexpected text after the document");
        return root;
    }

    std::string Error() const { return m_error + " at byte " + std::to_string(m_pos); }

private:
    std::nullopt_t Fail(const char* reason)
    {
        if (m_error.empty())
            m_error = reason;
        return std::nullopt;
    }
    bool Failed(const char* reason)
    {
        Fail(reason);
        return false;
    }

    void SkipBlanks()
    {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }

    bool Literal(std::string_view word)
    {
        if (m_text.compare(m_pos, word.size(), word) != 0)
            return Failed("unknown word");
        m_pos += word.size();
        return true;
    }

    bool Value(JsonNode& node, int depth)
    {
        if (depth > kMaxDepth)
            return Failed("nested too deeply");
        SkipBlanks();
        if (m_pos >= m_text.size())
            return Failed("unexpected end");
        const char c = m_text[m_pos];
        switch (c) {
        case '{': node.kind = JsonNode::Kind::Object; return Object(node, depth);
        case '[': node.kind = JsonNode::Kind::Array; return Array(node, depth);
        case '"': node.kind = JsonNode::Kind::String; return String(node.text);
        case 't': node.kind = JsonNode::Kind::Bool; node.boolean = true; return Literal("true");
        case 'f': node.kind = JsonNode::Kind::Bool; return Literal("false");
        case 'n': return Literal("null");
        default: node.kind = JsonNode::Kind::Integer; return Integer(node.integer);
        }
    }

    bool Object(JsonNode& node, int depth)
    {
        ++m_pos;
        SkipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return true;
        }
        for (;;) {
            SkipBlanks();
            std::string key;
            if (m_pos >= m_text.size() || m_text[m_pos] != '"' || !String(key))
                return Failed("expected a member name");
            if (node.Find(key))
                return Failed("duplicate member name");
            SkipBlanks();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':')
                return Failed("expected ':'");
            ++m_pos;
            JsonNode value;
            if (!Value(value, depth + 1))
                return false;
            node.names.push_back(std::move(key));
            node.items.push_back(std::move(value));
            SkipBlanks();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '}') {
                ++m_pos;
                return true;
            }
            return Failed("expected ',' or '}'");
        }
    }

    bool Array(JsonNode& node, int depth)
    {
        ++m_pos;
        SkipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            JsonNode item;
            if (!Value(item, depth + 1))
                return false;
            node.items.push_back(std::move(item));
            SkipBlanks();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == ']') {
                ++m_pos;
                return true;
            }
            return Failed("expected ',' or ']'");
        }
    }

    bool Integer(std::int64_t& out)
    {
        const std::size_t start = m_pos;
        const bool negative = m_pos < m_text.size() && m_text[m_pos] == '-';
        if (negative)
            ++m_pos;
        if (m_pos >= m_text.size() || m_text[m_pos] < '0' || m_text[m_pos] > '9')
            return Failed("expected a value");
        if (m_text[m_pos] == '0' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] >= '0' && m_text[m_pos + 1] <= '9')
            return Failed("leading zero");
        std::uint64_t value = 0;
        for (; m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9'; ++m_pos) {
            const unsigned digit = static_cast<unsigned>(m_text[m_pos] - '0');
            if (value > (static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) - digit) / 10)
                return Failed("number too large");
            value = value * 10 + digit;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == '.' || m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            m_pos = start;
            return Failed("expected a whole number");
        }
        out = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
        return true;
    }

    bool Hex4(unsigned& out)
    {
        if (m_pos + 4 > m_text.size())
            return Failed("short \\u escape");
        out = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            out <<= 4;
            if (c >= '0' && c <= '9')
                out |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                out |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                out |= static_cast<unsigned>(c - 'A' + 10);
            else
                return Failed("bad \\u escape");
        }
        return true;
    }

    bool Escape(std::string& out)
    {
        if (m_pos >= m_text.size())
            return Failed("unexpected end");
        const char c = m_text[m_pos++];
        switch (c) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case '/': out += '/'; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return Failed("bad escape");
        }
        unsigned code = 0;
        if (!Hex4(code))
            return false;
        if (code <= 0xFF) {
            out += static_cast<char>(code);
            return true;
        }
        if (code >= 0xDC00 && code <= 0xDFFF)
            return Failed("lone low surrogate");
        if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (m_text.compare(m_pos, 2, "\\u") != 0)
                return Failed("lone high surrogate");
            m_pos += 2;
            if (!Hex4(low))
                return false;
            if (low < 0xDC00 || low > 0xDFFF)
                return Failed("lone high surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        text::AppendUtf8(out, code);
        return true;
    }

    bool String(std::string& out)
    {
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size())
                return Failed("unterminated string");
            const unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
            if (c == '"') {
                ++m_pos;
                break;
            }
            if (c < 0x20)
                return Failed("raw control character in a string");
            if (c == '\\') {
                ++m_pos;
                if (!Escape(out))
                    return false;
                continue;
            }
            // Raw bytes must be whole UTF-8 characters.
            char32_t ignored = 0;
            const std::size_t length = text::Utf8SequenceAt(m_text, m_pos, ignored);
            if (length == 0)
                return Failed("invalid UTF-8");
            out.append(m_text, m_pos, length);
            m_pos += length;
        }
        return true;
    }

    std::string m_text;
    std::size_t m_pos = 0;
    std::string m_error;
};

} // namespace

const JsonNode* JsonNode::Find(std::string_view key) const
{
    if (kind != Kind::Object)
        return nullptr;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == key)
            return &items[i];
    return nullptr;
}

std::optional<JsonNode> ParseJsonDocument(std::string_view text, std::string* error)
{
    Parser parser(text);
    auto document = parser.Document();
    if (!document && error)
        *error = parser.Error();
    return document;
}
