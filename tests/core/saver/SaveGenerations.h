#pragma once

#include <QVariantMap>

namespace xr::test {

// What generation n of a data file holds: a mark and enough bytes that a
// save takes a while.
inline QVariantMap savedGeneration(int n)
{
    return {{QStringLiteral("generation"), n}, {QStringLiteral("storesDict"), QString(200000, QChar(u'a' + n % 26))}};
}

} // namespace xr::test
