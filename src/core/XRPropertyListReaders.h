#pragma once

#include "XRPropertyList.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// The three readers XRPropertyList chooses between, and what they share. Each
// is bounded by XRPropertyList's depth, value count and size limits.
namespace xr::plist {

// Property-list dates count seconds from 2001-01-01T00:00:00Z.
constexpr qint64 ReferenceDateMSecs = 978307200000;

std::optional<QVariant> readBinary(const QByteArray &data, QString &error);
std::optional<QVariant> readXml(const QByteArray &data, QString &error);
std::optional<QVariant> readText(const QString &text, QString &error);

inline QString tooDeep()
{
    return QStringLiteral("nested deeper than %1 levels").arg(XRPropertyList::MaxDepth);
}

inline QString tooManyValues()
{
    return QStringLiteral("more than %1 values").arg(XRPropertyList::MaxValues);
}

} // namespace xr::plist
