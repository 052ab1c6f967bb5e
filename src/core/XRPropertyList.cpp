#include "XRPropertyList.h"
#include "XRPropertyListReaders.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QStringList>

#include <plist/plist.h>

#include <limits>
#include <memory>

// libplist writes the binary format. Its 2.2 readers are not fit for files we do
// not trust: the binary one overflows the stack on deep nesting, expands shared
// object references without bound (a few hundred bytes become 2^60 values) and
// misreads dates outside 32-bit seconds and fractional dates before 2001; the XML
// one frees deep trees recursively (a stack overflow) and reads "12abc" as 12 and
// a malformed date as 1970. So the three readers are our own.

namespace {

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
        return fail(xr::plist::tooDeep());
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
        return fail(xr::plist::tooDeep());
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
    const qint64 msecs = when.toMSecsSinceEpoch() - xr::plist::ReferenceDateMSecs;
    const qint64 seconds = msecs / 1000;
    const qint64 microseconds = msecs % 1000 * 1000;
    if (seconds < std::numeric_limits<qint32>::min() || seconds > std::numeric_limits<qint32>::max())
        return fail(QStringLiteral("the date %1 is outside 1932-12-13 to 2069-01-19, the range the writer supports")
                        .arg(when.toUTC().toString(Qt::ISODate)));
    return PlistNode(plist_new_date(qint32(seconds), qint32(microseconds)));
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
        return xr::plist::readBinary(data, errorDescription);
    if (looksLikeXml(data))
        return xr::plist::readXml(data, errorDescription);

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data); // skips a byte-order mark
    if (decoder.hasError()) {
        errorDescription = QStringLiteral("not a property list: neither binary nor XML, and not UTF-8 text");
        return std::nullopt;
    }
    return xr::plist::readText(text, errorDescription);
}
