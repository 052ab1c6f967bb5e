#include "CurrencyCatalogue.h"

namespace xr::demo {

namespace {

enum class Kind { Major, Common, Exotic };

struct Currency
{
    const char *code;
    const char *name;
    double euros;          // mid-market value of one unit in euros
    Kind kind;
    const char *markets;   // letters of the markets that sell it: S, D, N, F
    bool buysBack;
};

// Mid-market values of a recent quiet week, rounded; the service is a demo,
// so the rates stay put.
const Currency currencies[] = {
    {"EUR", "EURO", 1.0, Kind::Major, "SDN", true},
    {"USD", "US DOLLAR", 0.92, Kind::Major, "SDNF", true},
    {"GBP", "BRITISH POUND", 1.18, Kind::Major, "SDNF", true},
    {"CHF", "SWISS FRANC", 1.06, Kind::Major, "SDNF", true},
    {"SEK", "SWEDISH KRONA", 0.0870, Kind::Major, "DNF", true},
    {"NOK", "NORWEGIAN KRONE", 0.0850, Kind::Major, "SDF", true},
    {"DKK", "DANISH KRONE", 0.13405, Kind::Major, "SNF", true},
    {"ISK", "ICELANDIC KRONA", 0.00665, Kind::Common, "SDNF", true},
    {"PLN", "POLISH ZLOTY", 0.2330, Kind::Common, "SDNF", true},
    {"CZK", "CZECH KORUNA", 0.0398, Kind::Common, "SDNF", true},
    {"HUF", "HUNGARIAN FORINT", 0.00252, Kind::Common, "SDNF", true},
    {"RON", "ROMANIAN LEU", 0.2010, Kind::Common, "SDF", true},
    {"BGN", "BULGARIAN LEV", 0.5113, Kind::Common, "SDF", true},
    {"TRY", "TURKISH LIRA", 0.0262, Kind::Common, "SDNF", true},
    {"CAD", "CANADIAN DOLLAR", 0.665, Kind::Common, "SDNF", true},
    {"AUD", "AUSTRALIAN DOLLAR", 0.600, Kind::Common, "SDNF", true},
    {"NZD", "NEW ZEALAND DOLLAR", 0.548, Kind::Common, "SNF", true},
    {"HKD", "HONG KONG DOLLAR", 0.1182, Kind::Common, "SDNF", true},
    {"SGD", "SINGAPORE DOLLAR", 0.700, Kind::Common, "SDNF", true},
    {"CNY", "CHINESE YUAN", 0.1270, Kind::Common, "SDNF", true},
    {"JPY", "JAPANESE YEN", 0.00612, Kind::Common, "SDNF", true},
    {"THB", "THAI BAHT", 0.0268, Kind::Common, "SDNF", true},
    {"INR", "INDIAN RUPEE", 0.01080, Kind::Exotic, "SNF", true},
    {"IDR", "INDONESIAN RUPIAH", 0.0000565, Kind::Exotic, "SN", false},
    {"MYR", "MALAYSIAN RINGGIT", 0.2080, Kind::Exotic, "SD", true},
    {"PHP", "PHILIPPINE PESO", 0.01600, Kind::Exotic, "SN", true},
    {"KRW", "SOUTH KOREAN WON", 0.000660, Kind::Exotic, "SDF", true},
    {"VND", "VIETNAMESE DONG", 0.0000355, Kind::Exotic, "SN", false},
    {"ZAR", "SOUTH AFRICAN RAND", 0.0505, Kind::Common, "SDNF", true},
    {"MXN", "MEXICAN PESO", 0.0480, Kind::Exotic, "SDF", true},
    {"BRL", "BRAZILIAN REAL", 0.1640, Kind::Exotic, "SN", true},
    {"ILS", "ISRAELI SHEKEL", 0.2520, Kind::Exotic, "SDN", true},
    {"AED", "UAE DIRHAM", 0.2505, Kind::Common, "SDNF", true},
    {"SAR", "SAUDI RIYAL", 0.2452, Kind::Exotic, "SD", true},
    {"QAR", "QATARI RIYAL", 0.2527, Kind::Exotic, "DN", true},
    {"KWD", "KUWAITI DINAR", 3.000, Kind::Exotic, "D", true},
    {"JOD", "JORDANIAN DINAR", 1.297, Kind::Exotic, "N", true},
    {"TWD", "TAIWAN DOLLAR", 0.0285, Kind::Exotic, "SD", true},
    {"RSD", "SERBIAN DINAR", 0.00854, Kind::Exotic, "SF", true},
    {"BAM", "BOSNIAN MARK", 0.5113, Kind::Exotic, "S", true},
    {"GEL", "GEORGIAN LARI", 0.3380, Kind::Exotic, "F", true},
    {"KES", "KENYAN SHILLING", 0.00712, Kind::Exotic, "SN", false},
    {"LKR", "SRI LANKAN RUPEE", 0.00310, Kind::Exotic, "S", false},
    {"EGP", "EGYPTIAN POUND", 0.0183, Kind::Exotic, "SF", true},
};

double euroValueOf(const QString &code)
{
    for (const Currency &currency : currencies) {
        if (code == QLatin1String(currency.code))
            return currency.euros;
    }
    return 1.0; // every base currency is in the table
}

// Cash margins on each side of the mid rate; rarer notes cost more to stock.
double cashSpread(Kind kind)
{
    switch (kind) {
    case Kind::Major: return 0.045;
    case Kind::Common: return 0.06;
    case Kind::Exotic: return 0.075;
    }
    return 0.075;
}

// A market's letter is the first of its code.
bool soldIn(const Currency &currency, const Market &market)
{
    return QByteArray(currency.markets).contains(market.code.at(0).toLatin1());
}

} // namespace

QList<CurrencyQuote> CurrencyCatalogue::quotesFor(const Market &market)
{
    const double base = euroValueOf(market.baseCurrency);
    QList<CurrencyQuote> quotes;
    for (const Currency &currency : currencies) {
        if (!soldIn(currency, market))
            continue;
        const double perUnit = currency.euros / base;
        // Small units are quoted per hundred, as the stores' boards show them.
        const int multiply = perUnit < 0.5 ? 100 : 1;
        const double mid = perUnit * multiply;
        const double spread = cashSpread(currency.kind);
        CurrencyQuote quote{QLatin1String(currency.code), QLatin1String(currency.name), multiply, mid,
                            mid * (1.0 - spread), mid * (1.0 + spread), std::nullopt, std::nullopt,
                            currency.buysBack};
        if (currency.kind == Kind::Major) {
            quote.buyTravellersCheque = mid * 0.975;
            quote.sellTravellersCheque = mid * 1.025;
        }
        quotes.append(quote);
    }
    return quotes;
}

bool CurrencyCatalogue::sells(const Market &market, const QString &currencyCode)
{
    for (const Currency &currency : currencies) {
        if (currencyCode == QLatin1String(currency.code))
            return soldIn(currency, market);
    }
    return false;
}

} // namespace xr::demo
