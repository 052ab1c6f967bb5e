#pragma once

#include "Market.h"

#include <QByteArray>
#include <QDateTime>

namespace xr::demo {

// The market's rates document ("/ratesxml.asp?id=520"): one "row" per currency
// and the time of the rates as "yyyy-MM-dd HH:mm".
class RatesDocument
{
public:
    static QByteArray render(const Market &market, const QDateTime &timestamp);
    // Rates as the stores print them: a decimal comma, more decimals for small values.
    static QString formatRate(double value);
};

} // namespace xr::demo
