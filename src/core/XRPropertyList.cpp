#include "XRPropertyList.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QStringList>
#include <QXmlStreamReader>

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

// libplist writes the binary format. Its 2.2 readers are not fit for files we do
// not trust: the binary one overflows the stack on deep nesting, expands shared
// object references without bound (a few hundred bytes become 2^60 values) and
// misreads dates outside 32-bit seconds and fractional dates before 2001; the XML
// one frees deep trees recursively (a stack overflow) and reads "12abc" as 12 and
// a malformed date as 1970. So the three readers below are our own, each bounded
// by depth, value count and size.

namespace {

// Property-list dates count seconds from 2001-01-01T00:00:00Z.
constexpr qint64 ReferenceDateMSecs = 978307200000;
// Beyond any real date, and small enough that the milliseconds fit a qint64.
constexpr double MaxDateSeconds = 1e14;

std::optional<QDateTime> dateFromReferenceSeconds(double seconds)
{
    if (!std::isfinite(seconds) || std::abs(seconds) > MaxDateSeconds)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(ReferenceDateMSecs + std::llround(seconds * 1000), Qt::UTC);
}

QString tooDeep()
{
    return QStringLiteral("nested deeper than %1 levels").arg(XRPropertyList::MaxDepth);
}

QString tooManyValues()
{
    return QStringLiteral("more than %1 values").arg(XRPropertyList::MaxValues);
}

// ---- writing, through libplist ----

struct PlistDeleter
{
    void operator()(void *node) const { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistDeleter>;

class BinaryWriter
{
public:
    PlistNode node(const QVariant &value, int depth);
    QString error;

private:
    PlistNode dictionary(const QVariantMap &map, int depth);
    PlistNode array(const QVariantList &list, int depth);
    PlistNode string(const QString &text);
    PlistNode date(const QDateTime &when);
    PlistNode fail(const QString &reason);

    QStringList m_path; // keys and indexes down to the value being converted, for the error text
};

PlistNode BinaryWriter::fail(const QString &reason)
{
    error = m_path.isEmpty() ? reason : QStringLiteral("%1 at %2").arg(reason, m_path.join(u'/'));
    return nullptr;
}

PlistNode BinaryWriter::node(const QVariant &value, int depth)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap:
        return dictionary(value.toMap(), depth);
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return array(value.toList(), depth);
    case QMetaType::QString:
        return string(value.toString());
    case QMetaType::Bool:
        return PlistNode(plist_new_bool(value.toBool()));
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        // libplist has no signed type: a negative number goes in as its bit pattern,
        // which the format's eight-byte integers read back as signed.
        return PlistNode(plist_new_uint(quint64(value.toLongLong())));
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (value.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return fail(QStringLiteral("the integer %1 is larger than a property list holds").arg(value.toULongLong()));
        return PlistNode(plist_new_uint(value.toULongLong()));
    case QMetaType::Float:
    case QMetaType::Double:
        return PlistNode(plist_new_real(value.toDouble()));
    case QMetaType::QDateTime:
        return date(value.toDateTime());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return PlistNode(plist_new_data(bytes.constData(), quint64(bytes.size())));
    }
    default:
        return fail(value.isValid()
                        ? QStringLiteral("a value of type %1 is not a property-list value").arg(QString::fromLatin1(value.typeName()))
                        : QStringLiteral("an invalid value is not a property-list value"));
    }
}

PlistNode BinaryWriter::dictionary(const QVariantMap &map, int depth)
{
    if (depth >= XRPropertyList::MaxDepth)
        return fail(tooDeep());
    PlistNode dict(plist_new_dict());
    for (auto it = map.begin(); it != map.end(); ++it) {
        m_path.append(it.key());
        const QByteArray key = it.key().toUtf8();
        // libplist takes keys and texts as C strings.
        if (key.contains('\0'))
            return fail(QStringLiteral("a key with a NUL character"));
        PlistNode item = node(it.value(), depth + 1);
        if (!item)
            return nullptr;
        plist_dict_set_item(dict.get(), key.constData(), item.release());
        m_path.removeLast();
    }
    return dict;
}

PlistNode BinaryWriter::array(const QVariantList &list, int depth)
{
    if (depth >= XRPropertyList::MaxDepth)
        return fail(tooDeep());
    PlistNode array(plist_new_array());
    for (qsizetype i = 0; i < list.size(); ++i) {
        m_path.append(QString::number(i));
        PlistNode item = node(list.at(i), depth + 1);
        if (!item)
            return nullptr;
        plist_array_append_item(array.get(), item.release());
        m_path.removeLast();
    }
    return array;
}

PlistNode BinaryWriter::string(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.contains('\0'))
        return fail(QStringLiteral("a text with a NUL character"));
    return PlistNode(plist_new_string(utf8.constData()));
}

PlistNode BinaryWriter::date(const QDateTime &when)
{
    if (!when.isValid())
        return fail(QStringLiteral("an invalid date"));
    // libplist takes whole seconds in 32 bits and the microseconds apart, and writes their sum.
    const qint64 msecs = when.toMSecsSinceEpoch() - ReferenceDateMSecs;
    const qint64 seconds = msecs / 1000;
    const qint64 microseconds = msecs % 1000 * 1000;
    if (seconds < std::numeric_limits<qint32>::min() || seconds > std::numeric_limits<qint32>::max())
        return fail(QStringLiteral("the date %1 is outside 1932-12-13 to 2069-01-19, the range the writer supports")
                        .arg(when.toUTC().toString(Qt::ISODate)));
    return PlistNode(plist_new_date(qint32(seconds), qint32(microseconds)));
}

// ---- the binary format ----

class BinaryReader
{
public:
    explicit BinaryReader(const QByteArray &data)
        : m_data(reinterpret_cast<const uchar *>(data.constData())), m_size(quint64(data.size()))
    {
    }
    std::optional<QVariant> read(QString &error);

private:
    std::optional<QVariant> object(quint64 index, int depth);
    std::optional<QVariant> container(quint64 index, quint64 count, quint64 refs, bool isDictionary, int depth);
    bool length(quint64 &pos, uchar info, quint64 &result);
    quint64 number(quint64 pos, unsigned bytes) const;
    std::nullopt_t fail(const QString &reason);
    std::nullopt_t truncated(quint64 index) { return fail(QStringLiteral("object %1 runs past its data").arg(index)); }

    const uchar *m_data;
    quint64 m_size;
    unsigned m_offsetSize = 0;
    unsigned m_refSize = 0;
    quint64 m_objectCount = 0;
    quint64 m_tableOffset = 0; // objects lie between the header and the offset table
    std::vector<bool> m_onPath; // objects being read further up, to refuse cycles
    qsizetype m_values = 0;
    QString m_error;
};

std::nullopt_t BinaryReader::fail(const QString &reason)
{
    m_error = QStringLiteral("binary property list: ") + reason;
    return std::nullopt;
}

quint64 BinaryReader::number(quint64 pos, unsigned bytes) const
{
    quint64 value = 0;
    for (unsigned i = 0; i < bytes; ++i)
        value = (value << 8) | m_data[pos + i];
    return value;
}

std::optional<QVariant> BinaryReader::read(QString &error)
{
    constexpr quint64 headerSize = 8;
    constexpr quint64 trailerSize = 32;
    // Writers pick the narrowest width that fits: libplist writes 3-byte
    // offsets into any file between 64 kB and 16 MB.
    const auto isIntSize = [](unsigned n) { return n >= 1 && n <= 8; };

    std::optional<QVariant> result;
    if (m_size < headerSize + 1 + trailerSize) {
        fail(QStringLiteral("too short"));
    } else if (std::memcmp(m_data, "bplist00", headerSize) != 0) {
        fail(QStringLiteral("unsupported version"));
    } else {
        const quint64 trailer = m_size - trailerSize;
        m_offsetSize = m_data[trailer + 6];
        m_refSize = m_data[trailer + 7];
        m_objectCount = number(trailer + 8, 8);
        const quint64 top = number(trailer + 16, 8);
        m_tableOffset = number(trailer + 24, 8);
        if (!isIntSize(m_offsetSize) || !isIntSize(m_refSize))
            fail(QStringLiteral("bad offset or reference size"));
        else if (m_tableOffset <= headerSize || m_tableOffset > trailer)
            fail(QStringLiteral("offset table out of range"));
        else if (m_objectCount == 0 || m_objectCount > (trailer - m_tableOffset) / m_offsetSize)
            fail(QStringLiteral("object count %1 does not fit the offset table").arg(m_objectCount));
        else if (top >= m_objectCount)
            fail(QStringLiteral("top object out of range"));
        else {
            m_onPath.assign(m_objectCount, false);
            result = object(top, 0);
        }
    }
    if (!result)
        error = m_error;
    return result;
}

// The count or byte length that follows a marker: in the marker's low four bits,
// or, when they are all set, as an integer object of its own.
bool BinaryReader::length(quint64 &pos, uchar info, quint64 &result)
{
    if (info != 0x0F) {
        result = info;
        return true;
    }
    if (pos >= m_tableOffset || (m_data[pos] & 0xF0) != 0x10 || (m_data[pos] & 0x0F) > 3)
        return false;
    const unsigned bytes = 1u << (m_data[pos] & 0x0F);
    if (bytes > m_tableOffset - pos - 1)
        return false;
    result = number(pos + 1, bytes);
    pos += 1 + bytes;
    return true;
}

std::optional<QVariant> BinaryReader::object(quint64 index, int depth)
{
    if (m_onPath[index])
        return fail(QStringLiteral("object %1 contains itself").arg(index));
    if (++m_values > XRPropertyList::MaxValues)
        return fail(tooManyValues());
    const quint64 offset = number(m_tableOffset + index * m_offsetSize, m_offsetSize);
    if (offset < 8 || offset >= m_tableOffset)
        return fail(QStringLiteral("offset of object %1 out of range").arg(index));

    const uchar marker = m_data[offset];
    const uchar info = marker & 0x0F;
    quint64 pos = offset + 1;
    const quint64 available = m_tableOffset - pos;
    quint64 count = 0;

    switch (marker >> 4) {
    case 0x0:
        if (marker == 0x08 || marker == 0x09)
            return QVariant(marker == 0x09);
        break;
    case 0x1: {
        if (info > 4)
            break;
        const unsigned bytes = 1u << info;
        if (bytes > available)
            return truncated(index);
        if (bytes < 16) // one to four bytes are unsigned, eight signed
            return QVariant(qint64(number(pos, bytes)));
        // Sixteen bytes are a 128-bit integer: keep it only when it fits 64 bits.
        const quint64 high = number(pos, 8);
        const quint64 low = number(pos + 8, 8);
        if (high != ((low >> 63) ? ~quint64(0) : 0))
            return fail(QStringLiteral("integer of object %1 out of range").arg(index));
        return QVariant(qint64(low));
    }
    case 0x2:
    case 0x3: {
        const bool isDate = (marker >> 4) == 0x3;
        if (info != 3 && (isDate || info != 2))
            break;
        const unsigned bytes = 1u << info;
        if (bytes > available)
            return truncated(index);
        double value = 0;
        if (bytes == 4) {
            const quint32 bits = quint32(number(pos, 4));
            float single;
            std::memcpy(&single, &bits, sizeof single);
            value = single;
        } else {
            const quint64 bits = number(pos, 8);
            std::memcpy(&value, &bits, sizeof value);
        }
        if (!isDate)
            return QVariant(value);
        const std::optional<QDateTime> date = dateFromReferenceSeconds(value);
        if (!date)
            return fail(QStringLiteral("date of object %1 out of range").arg(index));
        return QVariant(*date);
    }
    case 0x4:
    case 0x5:
        if (!length(pos, info, count) || count > m_tableOffset - pos)
            return truncated(index);
        if ((marker >> 4) == 0x4)
            return QVariant(QByteArray(reinterpret_cast<const char *>(m_data + pos), qsizetype(count)));
        return QVariant(QString::fromLatin1(reinterpret_cast<const char *>(m_data + pos), qsizetype(count)));
    case 0x6: {
        if (!length(pos, info, count) || count > (m_tableOffset - pos) / 2)
            return truncated(index);
        QString text(qsizetype(count), Qt::Uninitialized);
        QChar *units = text.data();
        for (quint64 i = 0; i < count; ++i)
            units[i] = QChar(char16_t(number(pos + 2 * i, 2)));
        return QVariant(text);
    }
    case 0xA:
    case 0xD: {
        const bool isDictionary = (marker >> 4) == 0xD;
        if (!length(pos, info, count) || count > (m_tableOffset - pos) / m_refSize / (isDictionary ? 2 : 1))
            return truncated(index);
        if (depth >= XRPropertyList::MaxDepth)
            return fail(tooDeep());
        m_onPath[index] = true;
        std::optional<QVariant> result = container(index, count, pos, isDictionary, depth);
        m_onPath[index] = false;
        return result;
    }
    default:
        break;
    }
    return fail(QStringLiteral("object %1 has the unsupported marker 0x%2").arg(index).arg(marker, 2, 16, QLatin1Char('0')));
}

std::optional<QVariant> BinaryReader::container(quint64 index, quint64 count, quint64 refs, bool isDictionary, int depth)
{
    const auto child = [&](quint64 n) -> std::optional<QVariant> {
        const quint64 ref = number(refs + n * m_refSize, m_refSize);
        if (ref >= m_objectCount)
            return fail(QStringLiteral("object %1 refers to a missing object").arg(index));
        return object(ref, depth + 1);
    };
    if (!isDictionary) {
        QVariantList list;
        list.reserve(qsizetype(std::min<quint64>(count, XRPropertyList::MaxValues)));
        for (quint64 i = 0; i < count; ++i) {
            std::optional<QVariant> item = child(i);
            if (!item)
                return std::nullopt;
            list.append(std::move(*item));
        }
        return QVariant(list);
    }
    QVariantMap map;
    for (quint64 i = 0; i < count; ++i) {
        const std::optional<QVariant> key = child(i);
        if (!key)
            return std::nullopt;
        if (key->typeId() != QMetaType::QString)
            return fail(QStringLiteral("a key of object %1 is not a text").arg(index));
        std::optional<QVariant> value = child(count + i);
        if (!value)
            return std::nullopt;
        map.insert(key->toString(), std::move(*value));
    }
    return QVariant(map);
}

// ---- the XML format ----

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

// ---- the old text form ----

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

bool looksLikeXml(const QByteArray &data)
{
    if (data.startsWith("\xFE\xFF") || data.startsWith("\xFF\xFE"))
        return true; // UTF-16: only XML declares its own encoding
    qsizetype start = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < data.size() && QChar::isSpace(uchar(data.at(start))))
        ++start;
    const QByteArrayView rest = QByteArrayView(data).sliced(start);
    return rest.startsWith("<?") || rest.startsWith("<!") || rest.startsWith("<plist");
}

} // namespace

std::optional<QByteArray> XRPropertyList::dataFromPropertyList(const QVariant &plist, QString &errorDescription)
{
    BinaryWriter writer;
    const PlistNode root = writer.node(plist, 0);
    if (!root) {
        errorDescription = writer.error;
        return std::nullopt;
    }
    char *bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root.get(), &bytes, &length);
    if (!bytes) {
        errorDescription = QStringLiteral("the binary writer produced nothing");
        return std::nullopt;
    }
    QByteArray data(bytes, qsizetype(length));
    plist_to_bin_free(bytes);
    return data;
}

std::optional<QVariant> XRPropertyList::propertyListFromData(const QByteArray &data, QString &errorDescription)
{
    if (data.isEmpty()) {
        errorDescription = QStringLiteral("no data");
        return std::nullopt;
    }
    if (data.size() > MaxDataSize) {
        errorDescription = QStringLiteral("%1 bytes, more than the %2 a property list may have").arg(data.size()).arg(MaxDataSize);
        return std::nullopt;
    }
    if (data.startsWith("bplist"))
        return BinaryReader(data).read(errorDescription);
    if (looksLikeXml(data))
        return XmlReader(data).read(errorDescription);

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data); // skips a byte-order mark
    if (decoder.hasError()) {
        errorDescription = QStringLiteral("not a property list: neither binary nor XML, and not UTF-8 text");
        return std::nullopt;
    }
    return TextReader(text).read(errorDescription);
}
