#pragma once

#include "Market.h"

#include <QList>
#include <QString>

#include <optional>

namespace xr::demo {

// One currency as a market's stores quote it: rates are in the market's base
// currency for `multiply` units of the currency.
struct CurrencyQuote
{
    QString code;
    QString name;  // in the market's language, upper case as the stores write it
    int multiply;
    double mid;
    double buyCash;
    double sellCash;
    std::optional<double> buyTravellersCheque;  // few currencies still have them
    std::optional<double> sellTravellersCheque;
    bool buysBack;  // false: the stores sell the currency but do not buy it back
};

// The currencies each market sells, with rates derived from one table of
// mid-market values and the spreads a retailer adds for cash.
class CurrencyCatalogue
{
public:
    static QList<CurrencyQuote> quotesFor(const Market &market);
    static bool sells(const Market &market, const QString &currencyCode);
};

} // namespace xr::demo
