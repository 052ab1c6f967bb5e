#include "XRPropertyListReaders.h"

#include <QStringList>
#include <QXmlStreamReader>

#include <limits>

namespace xr::plist {

namespace {

class XmlReader
{
public:
    explicit XmlReader(const QByteArray &data) : m_xml(data) {}
    std::optional<QVariant> read(QString &error);

private:
    std::optional<QVariant> value(int depth);
    std::optional<QVariant> scalar(QStringView name, const QString &text);
    std::optional<QString> elementText();
    bool nextChild();
    std::nullopt_t fail(const QString &reason);

    QXmlStreamReader m_xml;
    qsizetype m_values = 0;
};

std::nullopt_t XmlReader::fail(const QString &reason)
{
    if (!m_xml.hasError())
        m_xml.raiseError(reason);
    return std::nullopt;
}

// Moves to the next child element of the current one; false at the current
// element's end or on an error. Text between elements must be white space.
bool XmlReader::nextChild()
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::EndElement:
            return false;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace()) {
                fail(QStringLiteral("unexpected text"));
                return false;
            }
            break;
        case QXmlStreamReader::DTD:
            // The reader never loads external entities and would silently drop their references.
            for (const QXmlStreamEntityDeclaration &entity : m_xml.entityDeclarations()) {
                if (!entity.systemId().isEmpty() || !entity.publicId().isEmpty()) {
                    fail(QStringLiteral("the external entity %1 is not loaded").arg(entity.name()));
                    return false;
                }
            }
            break;
        default:
            break;
        }
    }
    return false;
}

// The current element's text. Unlike readElementText(), refuses a reference the
// reader leaves unresolved (an entity that only an external DTD could declare).
std::optional<QString> XmlReader::elementText()
{
    QString text;
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += m_xml.text();
            break;
        case QXmlStreamReader::EndElement:
            return text;
        case QXmlStreamReader::EntityReference:
            return fail(QStringLiteral("the entity &%1; is not available").arg(m_xml.name()));
        case QXmlStreamReader::StartElement:
            return fail(QStringLiteral("<%1> inside a text").arg(m_xml.name()));
        default:
            break;
        }
    }
    return std::nullopt;
}

std::optional<QVariant> XmlReader::read(QString &error)
{
    std::optional<QVariant> result;
    if (!nextChild()) {
        fail(QStringLiteral("no element"));
    } else if (m_xml.name() != u"plist") {
        result = value(0); // a bare value without the <plist> wrapper
    } else if (!nextChild()) {
        fail(QStringLiteral("an empty <plist>"));
    } else {
        result = value(0);
        if (result && nextChild())
            result = fail(QStringLiteral("more than one value in <plist>"));
    }
    while (!m_xml.atEnd()) // the reader checks that nothing but comments follows
        m_xml.readNext();
    if (m_xml.hasError()) {
        error = QStringLiteral("XML property list, line %1: %2").arg(m_xml.lineNumber()).arg(m_xml.errorString());
        return std::nullopt;
    }
    return result;
}

// Reads the value whose start element is current, up to its end element.
std::optional<QVariant> XmlReader::value(int depth)
{
    if (++m_values > XRPropertyList::MaxValues)
        return fail(tooManyValues());
    const QString name = m_xml.name().toString();
    if (name == u"dict" || name == u"array") {
        if (depth >= XRPropertyList::MaxDepth)
            return fail(tooDeep());
        QVariantMap map;
        QVariantList list;
        while (nextChild()) {
            QString key;
            if (name == u"dict") {
                if (m_xml.name() != u"key")
                    return fail(QStringLiteral("<%1> where a <key> belongs").arg(m_xml.name()));
                const std::optional<QString> text = elementText();
                if (!text)
                    return std::nullopt;
                key = *text;
                if (!nextChild())
                    return fail(QStringLiteral("the key \"%1\" has no value").arg(key));
            }
            std::optional<QVariant> item = value(depth + 1);
            if (!item)
                return std::nullopt;
            if (name == u"dict")
                map.insert(key, std::move(*item));
            else
                list.append(std::move(*item));
        }
        if (m_xml.hasError())
            return std::nullopt;
        return name == u"dict" ? QVariant(map) : QVariant(list);
    }
    static const QStringList scalars = {QStringLiteral("string"), QStringLiteral("integer"), QStringLiteral("real"),
                                        QStringLiteral("date"),   QStringLiteral("data"),    QStringLiteral("true"),
                                        QStringLiteral("false")};
    if (!scalars.contains(name))
        return fail(QStringLiteral("unknown element <%1>").arg(name));
    const std::optional<QString> text = elementText();
    if (!text)
        return std::nullopt;
    return scalar(name, *text);
}

std::optional<QVariant> XmlReader::scalar(QStringView name, const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    if (name == u"string") {
        return QVariant(text);
    } else if (name == u"true" || name == u"false") {
        if (trimmed.isEmpty())
            return QVariant(name == u"true");
    } else if (name == u"integer") {
        const bool negative = trimmed.startsWith(u'-');
        QStringView digits = QStringView(trimmed).mid(negative || trimmed.startsWith(u'+') ? 1 : 0);
        const bool hex = digits.startsWith(u"0x", Qt::CaseInsensitive);
        quint64 magnitude = 0;
        if (!digits.isEmpty() && digits.front().isDigit())
            magnitude = digits.mid(hex ? 2 : 0).toULongLong(&ok, hex ? 16 : 10);
        const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
        if (ok && magnitude <= limit)
            return QVariant(negative ? qint64(0 - magnitude) : qint64(magnitude));
    } else if (name == u"real") {
        const QString word = trimmed.toLower();
        if (word == u"nan")
            return QVariant(std::numeric_limits<double>::quiet_NaN());
        if (word == u"inf" || word == u"+inf" || word == u"infinity" || word == u"+infinity")
            return QVariant(std::numeric_limits<double>::infinity());
        if (word == u"-inf" || word == u"-infinity")
            return QVariant(-std::numeric_limits<double>::infinity());
        const double value = trimmed.toDouble(&ok);
        if (ok)
            return QVariant(value);
    } else if (name == u"date") {
        QDateTime date = QDateTime::fromString(trimmed, Qt::ISODate);
        if (date.isValid()) {
            if (date.timeSpec() == Qt::LocalTime) // a date without a zone is in UTC
                date.setTimeSpec(Qt::UTC);
            return QVariant(date);
        }
    } else { // data
        QByteArray base64;
        base64.reserve(text.size());
        for (const QChar c : text)
            if (!c.isSpace())
                base64.append(c.unicode() < 0x80 ? char(c.unicode()) : '!');
        const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            return QVariant(*decoded);
    }
    return fail(QStringLiteral("<%1> holds \"%2\"").arg(name, text.left(40)));
}

} // namespace

std::optional<QVariant> readXml(const QByteArray &data, QString &error)
{
    return XmlReader(data).read(error);
}

} // namespace xr::plist
