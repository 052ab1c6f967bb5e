#include "Market.h"

namespace xr::demo {

const QList<Market> &Market::all()
{
    static const QList<Market> markets = {
        {QStringLiteral("SE"), QStringLiteral("SEK"), QStringLiteral("sv"), QStringLiteral("nyheter"), 101, 0x5e0001, 100, 50000},
        {QStringLiteral("DK"), QStringLiteral("DKK"), QStringLiteral("da"), QStringLiteral("nyheder"), 201, 0xd40002, 100, 40000},
        {QStringLiteral("NO"), QStringLiteral("NOK"), QStringLiteral("nb"), QStringLiteral("nyheter"), 301, 0x9a0003, 100, 50000},
        {QStringLiteral("FI"), QStringLiteral("EUR"), QStringLiteral("fi"), QStringLiteral("uutiset"), 401, 0xf10004, 10, 5000},
    };
    return markets;
}

const Market *Market::byCode(const QString &code)
{
    for (const Market &market : all()) {
        if (market.code == code)
            return &market;
    }
    return nullptr;
}

} // namespace xr::demo
