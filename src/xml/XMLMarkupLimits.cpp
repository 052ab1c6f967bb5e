#include "XMLMarkupLimits.h"

#include <QByteArray>

#include <cstring>

namespace xr {

namespace {

// Where the text after `from` ends with the terminator; the end of the
// document when it never does.
qsizetype skipPast(QByteArrayView text, qsizetype from, QByteArrayView terminator)
{
    const qsizetype found = text.indexOf(terminator, from);
    return found < 0 ? text.size() : found + terminator.size();
}

bool scan(QByteArrayView text, int limit)
{
    qsizetype i = 0;
    while ((i = text.indexOf('<', i)) >= 0) {
        const QByteArrayView rest = text.sliced(i + 1);
        if (rest.startsWith("!--")) {
            i = skipPast(text, i + 4, "-->");
        } else if (rest.startsWith("![CDATA[")) {
            i = skipPast(text, i + 9, "]]>");
        } else if (rest.startsWith("!")) {
            // A document type declaration: the parser refuses the document there.
            return false;
        } else if (rest.startsWith("?")) {
            i = skipPast(text, i + 2, "?>");
        } else {
            // A start or end tag: every "=" outside quoted values is an attribute.
            int attributes = 0;
            char quote = 0;
            for (++i; i < text.size(); ++i) {
                const char c = text[i];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '=') {
                    if (++attributes > limit)
                        return true;
                } else if (c == '>') {
                    break;
                }
            }
        }
    }
    return false;
}

// Whether the document holds more "=" than the limit; found by memchr, which
// passes over a document without any at the speed of memory.
bool hasMoreEqualSignsThan(QByteArrayView document, int limit)
{
    const char *at = document.data();
    const char *const end = at + document.size();
    for (int found = 0; at < end; ++at) {
        at = static_cast<const char *>(std::memchr(at, '=', size_t(end - at)));
        if (!at)
            return false;
        if (++found > limit)
            return true;
    }
    return false;
}

} // namespace

bool hasElementWithTooManyAttributes(QByteArrayView document, int limit)
{
    // Every attribute takes an "=": a document with no more of them than the
    // limit (a branch list has none but its declaration's) needs no closer look.
    if (!hasMoreEqualSignsThan(document, limit))
        return false;
    if (!document.first(qMin<qsizetype>(document.size(), 4)).contains('\0'))
        return scan(document, limit);
    QByteArray markup = document.toByteArray();
    markup.removeIf([](char c) { return c == '\0'; });
    return scan(markup, limit);
}

} // namespace xr
