#pragma once

#include <QVariantList>
#include <QVariantMap>

namespace xr::test {

// What generation n of each data file holds: a branch list large enough that
// a save takes a while, and a converter state, both marked with n.
inline QVariantMap settingsGeneration(int n)
{
    QVariantList stores;
    for (int i = 0; i < 2000; ++i) {
        stores.append(QVariantMap{{QStringLiteral("id"), QStringLiteral("SE.FX.%1").arg(i)},
                                  {QStringLiteral("city"), QStringLiteral("Göteborg %1").arg(n)},
                                  {QStringLiteral("events"), QVariantList{QStringLiteral("Mån-Fre 10-18")}}});
    }
    return {{QStringLiteral("storesDict"), QVariantMap{{QStringLiteral("generation"), n},
                                                       {QStringLiteral("stores"), stores}}}};
}

inline QVariantMap currencyGeneration(int n)
{
    return {{QStringLiteral("amount"), QString::number(n)},
            {QStringLiteral("transType"), n % 2 ? QStringLiteral("buy") : QStringLiteral("sell")},
            {QStringLiteral("timestamp"), QStringLiteral("2011-05-03 14:07")}};
}

} // namespace xr::test
