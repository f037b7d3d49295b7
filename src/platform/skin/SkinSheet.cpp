#include "platform/skin/SkinSheet.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace {

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'-';
}

// Finds the end of a quoted string starting at `open`; -1 when it runs off
// the line or the text.
qsizetype StringEnd(const QString& text, qsizetype open)
{
    const QChar quote = text[open];
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return -1;
        if (text[i] == u'\\') {
            ++i;
            continue;
        }
        if (text[i] == quote)
            return i;
    }
    return -1;
}

// Splits at `separator` outside strings and brackets.
QStringList SplitTopLevel(const QString& text, QChar separator)
{
    QStringList parts;
    qsizetype start = 0;
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = StringEnd(text, i);
            i = end < 0 ? text.size() - 1 : end;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == separator && depth == 0) {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}

class SheetReader {
public:
    SheetReader(const QString& text, const QString& folder) : m_text(text), m_folder(folder) {}

    SkinSheet Read()
    {
        SkinSheet sheet;
        if (!stripComments()) {
            sheet.warning = "unterminated comment";
            return sheet;
        }
        qsizetype pos = 0;
        while (pos < m_text.size()) {
            const qsizetype open = findOutsideStrings(u'{', pos);
            const qsizetype close = open < 0 ? -1 : findOutsideStrings(u'}', open + 1);
            if (open < 0) {
                if (!m_text.mid(pos).trimmed().isEmpty())
                    return fail(sheet, "text after the last rule");
                break;
            }
            if (close < 0)
                return fail(sheet, "rule without a closing brace");
            SkinRule rule;
            if (!readSelectors(m_text.mid(pos, open - pos), rule.selectors))
                return fail(sheet, m_error);
            if (!readBody(m_text.mid(open + 1, close - open - 1), rule.body))
                return fail(sheet, m_error);
            sheet.rules.push_back(std::move(rule));
            pos = close + 1;
        }
        sheet.ok = true;
        return sheet;
    }

private:
    SkinSheet fail(SkinSheet& sheet, const QString& why)
    {
        sheet.rules.clear();
        sheet.warning = why;
        return sheet;
    }

    bool stripComments()
    {
        QString out;
        out.reserve(m_text.size());
        for (qsizetype i = 0; i < m_text.size(); ++i) {
            const QChar c = m_text[i];
            if (c == u'"' || c == u'\'') {
                const qsizetype end = StringEnd(m_text, i);
                const qsizetype last = end < 0 ? m_text.size() - 1 : end;
                out += m_text.mid(i, last - i + 1);
                i = last;
            } else if (c == u'/' && i + 1 < m_text.size() && m_text[i + 1] == u'*') {
                const qsizetype end = m_text.indexOf(QStringLiteral("*/"), i + 2);
                if (end < 0)
                    return false;
                out += u' ';
                i = end + 1;
            } else {
                out += c;
            }
        }
        m_text = out;
        return true;
    }

    // The next `wanted` brace outside strings; a brace of the other kind
    // before it (or an unterminated string) makes the sheet malformed.
    qsizetype findOutsideStrings(QChar wanted, qsizetype from)
    {
        for (qsizetype i = from; i < m_text.size(); ++i) {
            const QChar c = m_text[i];
            if (c == u'"' || c == u'\'') {
                const qsizetype end = StringEnd(m_text, i);
                if (end < 0)
                    return -1;
                i = end;
            } else if (c == wanted) {
                return i;
            } else if (c == u'{' || c == u'}') {
                return -1;
            }
        }
        return -1;
    }

    bool readSelectors(const QString& text, QStringList& selectors)
    {
        for (const QString& part : SplitTopLevel(text, u',')) {
            const QString selector = part.simplified();
            if (selector.isEmpty()) {
                m_error = "empty selector";
                return false;
            }
            for (QChar c : selector) {
                if (c == u';' || c == u'@' || c.category() == QChar::Other_Control) {
                    m_error = "bad selector \"" + selector + "\"";
                    return false;
                }
            }
            selectors.append(selector);
        }
        return true;
    }

    bool readBody(const QString& text, QString& body)
    {
        QStringList declarations;
        for (const QString& part : SplitTopLevel(text, u';')) {
            const QString declaration = part.trimmed();
            if (declaration.isEmpty())
                continue;
            const qsizetype colon = declaration.indexOf(u':');
            const QString name = colon < 0 ? QString() : declaration.left(colon).trimmed();
            if (name.isEmpty() || !std::all_of(name.begin(), name.end(), IsNameChar)) {
                m_error = "bad declaration \"" + declaration + "\"";
                return false;
            }
            QString value;
            if (!resolveUrls(declaration.mid(colon + 1).trimmed(), value))
                return false;
            declarations.append(name + ": " + value + ";");
        }
        body = declarations.join(u' ');
        return true;
    }

    // Replaces every url(...) by the absolute path of the image it names.
    bool resolveUrls(const QString& value, QString& out)
    {
        qsizetype pos = 0;
        while (true) {
            const qsizetype at = value.indexOf(QStringLiteral("url("), pos, Qt::CaseInsensitive);
            if (at < 0)
                break;
            const qsizetype close = value.indexOf(u')', at + 4);
            if (close < 0) {
                m_error = "url( without )";
                return false;
            }
            QString path = value.mid(at + 4, close - at - 4).trimmed();
            if (path.size() >= 2 && (path.front() == u'"' || path.front() == u'\'') && path.back() == path.front())
                path = path.mid(1, path.size() - 2);
            QString absolute;
            if (!resolveImage(path, absolute))
                return false;
            out += value.mid(pos, at - pos) + "url(\"" + absolute + "\")";
            pos = close + 1;
        }
        out += value.mid(pos);
        return true;
    }

    bool resolveImage(const QString& path, QString& absolute)
    {
        m_error = "image \"" + path + "\" ";
        if (path.isEmpty() || path.startsWith(u'/') || path.startsWith(u':') || path.contains(u'\\')
            || path.contains(QStringLiteral("://"))) {
            m_error += "is not a path inside the skin folder";
            return false;
        }
        for (QChar c : path) {
            if (c == u'"' || c == u'\'' || c == u'(' || c.category() == QChar::Other_Control) {
                m_error += "has a character a path may not have";
                return false;
            }
        }
        if (path.split(u'/').contains(QStringLiteral(".."))) {
            m_error += "leaves the skin folder";
            return false;
        }
        const QString folder = QFileInfo(m_folder).canonicalFilePath();
        const QFileInfo image(m_folder + "/" + path);
        const QString canonical = image.canonicalFilePath();
        if (folder.isEmpty() || canonical.isEmpty() || !image.isFile()) {
            m_error += "is missing";
            return false;
        }
        // A link inside the folder may still point out of it.
        if (!canonical.startsWith(folder + "/")) {
            m_error += "leaves the skin folder";
            return false;
        }
        QFile file(canonical);
        if (!file.open(QIODevice::ReadOnly)) {
            m_error += "cannot be read";
            return false;
        }
        absolute = canonical;
        return true;
    }

    QString m_text;
    QString m_folder;
    QString m_error;
};

bool MentionsWord(const QString& selector, const QString& element)
{
    const QString needle = u'#' + element;
    for (qsizetype at = selector.indexOf(needle); at >= 0; at = selector.indexOf(needle, at + 1)) {
        const qsizetype after = at + needle.size();
        if (after == selector.size() || !IsNameChar(selector[after]))
            return true;
    }
    return false;
}

} // namespace

QString SkinSheet::SheetFor(const QString& element) const
{
    QString out;
    for (const SkinRule& rule : rules) {
        QStringList matching;
        for (const QString& selector : rule.selectors)
            if (MentionsWord(selector, element))
                matching.append(selector);
        if (!matching.isEmpty())
            out += matching.join(QStringLiteral(", ")) + " { " + rule.body + " }\n";
    }
    return out;
}

bool SkinSheet::Mentions(const QString& element) const
{
    return !SheetFor(element).isEmpty();
}

SkinSheet ParseSkinSheet(const QByteArray& bytes, const QString& skinFolder)
{
    SkinSheet sheet;
    if (bytes.size() > kMaxSkinFileBytes) {
        sheet.warning = "file too large";
        return sheet;
    }
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    if (decode.hasError() || text.contains(QChar(0))) {
        sheet.warning = "not UTF-8 text";
        return sheet;
    }
    return SheetReader(text, skinFolder).Read();
}
