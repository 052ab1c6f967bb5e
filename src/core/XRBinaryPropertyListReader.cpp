#include "XRPropertyListReaders.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace xr::plist {

namespace {

// Beyond any real date, and small enough that the milliseconds fit a qint64.
constexpr double MaxDateSeconds = 1e14;

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
    std::optional<QVariant> integer(quint64 index, quint64 pos, unsigned bytes);
    std::optional<double> real(quint64 index, quint64 pos, unsigned bytes);
    std::optional<QVariant> date(quint64 index, quint64 pos);
    std::optional<QVariant> bytesOrText(quint64 index, quint64 pos, uchar marker);
    std::optional<QVariant> container(quint64 index, quint64 pos, uchar info, bool isDictionary, int depth);
    std::optional<QVariant> array(quint64 index, quint64 count, quint64 refs, int depth);
    std::optional<QVariant> dictionary(quint64 index, quint64 count, quint64 refs, int depth);
    std::optional<QVariant> child(quint64 index, quint64 refs, quint64 n, int depth);
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

    // The marker's high four bits give the kind, the low four a size or count.
    const uchar marker = m_data[offset];
    const uchar info = marker & 0x0F;
    const quint64 pos = offset + 1;
    switch (marker >> 4) {
    case 0x0:
        if (marker == 0x08 || marker == 0x09)
            return QVariant(marker == 0x09);
        break;
    case 0x1:
        if (info <= 4)
            return integer(index, pos, 1u << info);
        break;
    case 0x2:
        if (info == 2 || info == 3) {
            const std::optional<double> value = real(index, pos, 1u << info);
            return value ? std::optional<QVariant>(*value) : std::nullopt;
        }
        break;
    case 0x3:
        if (info == 3)
            return date(index, pos);
        break;
    case 0x4:
    case 0x5:
    case 0x6:
        return bytesOrText(index, pos, marker);
    case 0xA:
    case 0xD:
        return container(index, pos, info, (marker >> 4) == 0xD, depth);
    default:
        break;
    }
    return fail(QStringLiteral("object %1 has the unsupported marker 0x%2").arg(index).arg(marker, 2, 16, QLatin1Char('0')));
}

std::optional<QVariant> BinaryReader::integer(quint64 index, quint64 pos, unsigned bytes)
{
    if (bytes > m_tableOffset - pos)
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

std::optional<double> BinaryReader::real(quint64 index, quint64 pos, unsigned bytes)
{
    if (bytes > m_tableOffset - pos)
        return truncated(index);
    if (bytes == 4) {
        const quint32 bits = quint32(number(pos, 4));
        float single;
        std::memcpy(&single, &bits, sizeof single);
        return single;
    }
    const quint64 bits = number(pos, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::optional<QVariant> BinaryReader::date(quint64 index, quint64 pos)
{
    const std::optional<double> seconds = real(index, pos, 8);
    if (!seconds)
        return std::nullopt;
    if (!std::isfinite(*seconds) || std::abs(*seconds) > MaxDateSeconds)
        return fail(QStringLiteral("date of object %1 out of range").arg(index));
    return QVariant(QDateTime::fromMSecsSinceEpoch(ReferenceDateMSecs + std::llround(*seconds * 1000), Qt::UTC));
}

// Data (0x4), an ASCII text (0x5) or a UTF-16 text (0x6).
std::optional<QVariant> BinaryReader::bytesOrText(quint64 index, quint64 pos, uchar marker)
{
    const uchar kind = marker >> 4;
    const quint64 unitSize = kind == 0x6 ? 2 : 1;
    quint64 count = 0;
    if (!length(pos, marker & 0x0F, count) || count > (m_tableOffset - pos) / unitSize)
        return truncated(index);
    const char *start = reinterpret_cast<const char *>(m_data + pos);
    if (kind == 0x4)
        return QVariant(QByteArray(start, qsizetype(count)));
    if (kind == 0x5)
        return QVariant(QString::fromLatin1(start, qsizetype(count)));
    QString text(qsizetype(count), Qt::Uninitialized);
    QChar *units = text.data();
    for (quint64 i = 0; i < count; ++i)
        units[i] = QChar(char16_t(number(pos + 2 * i, 2)));
    return QVariant(text);
}

std::optional<QVariant> BinaryReader::container(quint64 index, quint64 pos, uchar info, bool isDictionary, int depth)
{
    quint64 count = 0;
    if (!length(pos, info, count) || count > (m_tableOffset - pos) / m_refSize / (isDictionary ? 2 : 1))
        return truncated(index);
    if (depth >= XRPropertyList::MaxDepth)
        return fail(tooDeep());
    m_onPath[index] = true;
    std::optional<QVariant> result = isDictionary ? dictionary(index, count, pos, depth) : array(index, count, pos, depth);
    m_onPath[index] = false;
    return result;
}

std::optional<QVariant> BinaryReader::child(quint64 index, quint64 refs, quint64 n, int depth)
{
    const quint64 ref = number(refs + n * m_refSize, m_refSize);
    if (ref >= m_objectCount)
        return fail(QStringLiteral("object %1 refers to a missing object").arg(index));
    return object(ref, depth + 1);
}

std::optional<QVariant> BinaryReader::array(quint64 index, quint64 count, quint64 refs, int depth)
{
    QVariantList list;
    list.reserve(qsizetype(std::min<quint64>(count, XRPropertyList::MaxValues)));
    for (quint64 i = 0; i < count; ++i) {
        std::optional<QVariant> item = child(index, refs, i, depth);
        if (!item)
            return std::nullopt;
        list.append(std::move(*item));
    }
    return QVariant(list);
}

// Keys come first, then the values in the same order.
std::optional<QVariant> BinaryReader::dictionary(quint64 index, quint64 count, quint64 refs, int depth)
{
    QVariantMap map;
    for (quint64 i = 0; i < count; ++i) {
        const std::optional<QVariant> key = child(index, refs, i, depth);
        if (!key)
            return std::nullopt;
        if (key->typeId() != QMetaType::QString)
            return fail(QStringLiteral("a key of object %1 is not a text").arg(index));
        std::optional<QVariant> value = child(index, refs, count + i, depth);
        if (!value)
            return std::nullopt;
        map.insert(key->toString(), std::move(*value));
    }
    return QVariant(map);
}

} // namespace

std::optional<QVariant> readBinary(const QByteArray &data, QString &error)
{
    return BinaryReader(data).read(error);
}

} // namespace xr::plist
