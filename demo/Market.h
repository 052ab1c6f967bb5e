#pragma once

#include <QList>
#include <QString>

namespace xr::demo {

// One of the retailer's four markets: what the service needs to speak for it.
struct Market
{
    QString code;          // "SE", "DK", "NO", "FI"
    QString baseCurrency;  // the home currency the rates are given in
    QString language;      // "sv", "da", "nb", "fi"
    QString newsFolder;    // path segment of the news story pages
    int firstStoreNumber;  // store numbers of different markets never overlap
    quint64 seed;          // fixes the generated stores, so that their ETag survives restarts
    int minimumAmount;     // what one reservation may cost, in the base currency
    int maximumAmount;

    static const QList<Market> &all();
    // nullptr when the code is not one of the four.
    static const Market *byCode(const QString &code);
};

} // namespace xr::demo
