#include "XRReservationReply.h"

#include "XRLog.h"
#include "XRXMLDocument.h"

#include <QStringDecoder>

#include <limits>
#include <memory>
#include <optional>

namespace {

// Bytes that are not UTF-8 give no text at all, which then fails to parse.
QString utf8Text(const QByteArray &bytes)
{
    // Stateless: a sequence cut off at the end counts as invalid too.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return decoder.hasError() ? QString() : text;
}

QString childText(const XRXMLElement *root, const QString &name)
{
    if (!root)
        return {};
    const QList<XRXMLElementPtr> elements = root->elementsForName(name);
    return elements.isEmpty() ? QString() : elements.first()->stringValue();
}

// Leading white space, an optional sign and the digits up to the first other
// character, held to the range of int; nothing when no digit follows.
std::optional<int> leadingInteger(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    const qsizetype firstDigit = i;
    const qint64 limit = negative ? -qint64(std::numeric_limits<int>::min()) : std::numeric_limits<int>::max();
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = qMin(value * 10 + (text[i].unicode() - u'0'), limit);
    if (i == firstDigit)
        return std::nullopt;
    return int(negative ? -value : value);
}

bool isSuccessStatus(int statusCode)
{
    return statusCode >= 200 && statusCode <= 299;
}

} // namespace

XRReservationReply XRReservationReply::fromBody(const QByteArray &body, int statusCode)
{
    XRXMLError error;
    const std::unique_ptr<XRXMLDocument> document = XRXMLDocument::documentWithXMLString(utf8Text(body), 0, &error);
    const XRXMLElementPtr root = document ? document->rootElement() : nullptr;
    qCInfo(lcReservation, "parsing error: %d", error.code);
    const QString described = root ? root->description() : QStringLiteral("(null)");
    qCInfo(lcReservation, "return doc: %s", qUtf8Printable(described));

    // Only a reply that says so is an acceptance: without a readable code, or
    // with 0 under an error status, it is unreadable. A service may refuse
    // with an error status and a code of its own.
    const std::optional<int> code = leadingInteger(childText(root.get(), QStringLiteral("Code")));
    const bool readable = code && (isSuccessStatus(statusCode) || *code != 0);
    if (error.code != 0 || !readable) {
        qCWarning(lcReservation, "Reservation reply without a readable code, HTTP status %d", statusCode);
        return {error.code != 0 ? error.code : -1, {}, {}, false};
    }
    return {*code, childText(root.get(), QStringLiteral("Message")), childText(root.get(), QStringLiteral("Market"))};
}
