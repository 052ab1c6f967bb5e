#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// Converts between Qt values and property-list documents. Writes the binary
// format, version 1.0; reads binary, XML and the old text form. A document
// becomes QVariantMap, QVariantList, QString, qint64, double, bool, QDateTime
// and QByteArray values.
class XRPropertyList
{
public:
    // Limits that keep a hostile document from exhausting the stack, memory or time.
    static constexpr qsizetype MaxDataSize = 64 * 1024 * 1024;
    static constexpr int MaxDepth = 256;
    static constexpr qsizetype MaxValues = 2'000'000;

    // The value in the binary format; nothing, and the reason in errorDescription,
    // when it holds anything a property list cannot (for example a QGeoCoordinate,
    // an invalid QVariant, a QVariantHash or a text with a NUL character).
    static std::optional<QByteArray> dataFromPropertyList(const QVariant &plist, QString &errorDescription);

    // The document's value; nothing, and the reason in errorDescription, when the
    // bytes are not a property list or exceed the limits above.
    static std::optional<QVariant> propertyListFromData(const QByteArray &data, QString &errorDescription);
};
