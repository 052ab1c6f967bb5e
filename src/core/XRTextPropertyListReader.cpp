#include "XRPropertyListReaders.h"

namespace xr::plist {

namespace {

// Dictionaries { key = value; }, arrays ( a, b ), data < 0fbd >, quoted and
// unquoted texts, // and /* */ comments; every leaf is a text or data.
class TextReader
{
public:
    explicit TextReader(const QString &text) : m_text(text) {}
    std::optional<QVariant> read(QString &error);

private:
    std::optional<QVariant> value(int depth);
    std::optional<QString> string();
    std::optional<QString> quoted();
    std::optional<QByteArray> data();
    bool skipSpace();
    bool expect(QChar c);
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return m_text.at(m_pos); }
    std::nullopt_t fail(const QString &reason);

    const QString m_text;
    qsizetype m_pos = 0;
    qsizetype m_values = 0;
    QString m_error;
};

bool isUnquotedCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '$'
        || u == '/' || u == ':' || u == '.' || u == '-';
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

std::nullopt_t TextReader::fail(const QString &reason)
{
    if (m_error.isEmpty()) {
        const qsizetype line = QStringView(m_text).left(m_pos).count(u'\n') + 1;
        m_error = QStringLiteral("text property list, line %1: %2").arg(line).arg(reason);
    }
    return std::nullopt;
}

std::optional<QVariant> TextReader::read(QString &error)
{
    std::optional<QVariant> result = value(0);
    if (result && (!skipSpace() || !atEnd()))
        result = fail(QStringLiteral("unexpected text after the value"));
    if (!result)
        error = m_error;
    return result;
}

// Skips white space and comments; false inside an unterminated comment.
bool TextReader::skipSpace()
{
    while (!atEnd()) {
        if (peek().isSpace()) {
            ++m_pos;
        } else if (QStringView(m_text).mid(m_pos).startsWith(u"//")) {
            const qsizetype end = m_text.indexOf(u'\n', m_pos);
            m_pos = end < 0 ? m_text.size() : end + 1;
        } else if (QStringView(m_text).mid(m_pos).startsWith(u"/*")) {
            const qsizetype end = m_text.indexOf(u"*/", m_pos + 2);
            if (end < 0) {
                fail(QStringLiteral("unterminated comment"));
                return false;
            }
            m_pos = end + 2;
        } else {
            break;
        }
    }
    return true;
}

bool TextReader::expect(QChar c)
{
    if (!skipSpace())
        return false;
    if (atEnd() || peek() != c) {
        fail(QStringLiteral("expected '%1'").arg(c));
        return false;
    }
    ++m_pos;
    return true;
}

std::optional<QVariant> TextReader::value(int depth)
{
    if (!skipSpace())
        return std::nullopt;
    if (atEnd())
        return fail(QStringLiteral("unexpected end"));
    if (++m_values > XRPropertyList::MaxValues)
        return fail(tooManyValues());
    const QChar c = peek();
    if (c == u'{' || c == u'(') {
        if (depth >= XRPropertyList::MaxDepth)
            return fail(tooDeep());
        ++m_pos;
        const QChar close = c == u'{' ? u'}' : u')';
        QVariantMap map;
        QVariantList list;
        while (true) {
            if (!skipSpace())
                return std::nullopt;
            if (!atEnd() && peek() == close) {
                ++m_pos;
                break;
            }
            if (c == u'{') {
                const std::optional<QString> key = string();
                if (!key || !expect(u'='))
                    return std::nullopt;
                std::optional<QVariant> item = value(depth + 1);
                if (!item || !expect(u';'))
                    return std::nullopt;
                map.insert(*key, std::move(*item));
            } else {
                std::optional<QVariant> item = value(depth + 1);
                if (!item || !skipSpace())
                    return std::nullopt;
                list.append(std::move(*item));
                if (!atEnd() && peek() == u',')
                    ++m_pos;
                else if (atEnd() || peek() != u')')
                    return fail(QStringLiteral("expected ',' or ')'"));
            }
        }
        return c == u'{' ? QVariant(map) : QVariant(list);
    }
    if (c == u'<') {
        std::optional<QByteArray> bytes = data();
        return bytes ? std::optional<QVariant>(*bytes) : std::nullopt;
    }
    std::optional<QString> text = string();
    return text ? std::optional<QVariant>(*text) : std::nullopt;
}

std::optional<QString> TextReader::string()
{
    if (atEnd())
        return fail(QStringLiteral("unexpected end"));
    if (peek() == u'"' || peek() == u'\'')
        return quoted();
    const qsizetype start = m_pos;
    while (!atEnd() && isUnquotedCharacter(peek()))
        ++m_pos;
    if (m_pos == start)
        return fail(QStringLiteral("unexpected character '%1'").arg(peek()));
    return m_text.mid(start, m_pos - start);
}

std::optional<QString> TextReader::quoted()
{
    const QChar quote = m_text.at(m_pos++);
    QString result;
    while (true) {
        if (atEnd())
            return fail(QStringLiteral("unterminated text"));
        const QChar c = m_text.at(m_pos++);
        if (c == quote)
            return result;
        if (c != u'\\') {
            result.append(c);
            continue;
        }
        if (atEnd())
            return fail(QStringLiteral("unterminated text"));
        const QChar e = m_text.at(m_pos++);
        static const QString escapes = QStringLiteral("abfnrtv");
        static const QString controls = QStringLiteral("\a\b\f\n\r\t\v");
        if (const qsizetype i = escapes.indexOf(e); i >= 0) {
            result.append(controls.at(i));
        } else if (e == u'U') {
            // Up to four hexadecimal digits of a UTF-16 unit.
            const qsizetype start = m_pos;
            while (!atEnd() && m_pos - start < 4 && isHexDigit(peek()))
                ++m_pos;
            if (m_pos == start)
                return fail(QStringLiteral("\\U without digits"));
            result.append(QChar(char16_t(QStringView(m_text).mid(start, m_pos - start).toUShort(nullptr, 16))));
        } else if (e >= u'0' && e <= u'7') {
            // Up to three octal digits; beyond ASCII they name NeXTSTEP characters, which we do not map.
            int code = e.unicode() - '0';
            for (int n = 1; n < 3 && !atEnd() && peek() >= u'0' && peek() <= u'7'; ++n)
                code = code * 8 + (m_text.at(m_pos++).unicode() - '0');
            if (code > 0x7F)
                return fail(QStringLiteral("octal escape \\%1 beyond ASCII").arg(code, 3, 8, QLatin1Char('0')));
            result.append(QChar(char16_t(code)));
        } else {
            result.append(e); // \" \' \\ and any other character stand for themselves
        }
    }
}

std::optional<QByteArray> TextReader::data()
{
    ++m_pos; // '<'
    QByteArray hex;
    while (true) {
        if (!skipSpace())
            return std::nullopt;
        if (atEnd())
            return fail(QStringLiteral("unterminated data"));
        const QChar c = m_text.at(m_pos++);
        if (c == u'>')
            break;
        if (!isHexDigit(c))
            return fail(QStringLiteral("unexpected character '%1' in data").arg(c));
        hex.append(char(c.unicode()));
    }
    if (hex.size() % 2 != 0)
        return fail(QStringLiteral("odd number of digits in data"));
    return QByteArray::fromHex(hex);
}

} // namespace

std::optional<QVariant> readText(const QString &text, QString &error)
{
    return TextReader(text).read(error);
}

} // namespace xr::plist
