#include "CurrencyCatalogue.h"

#include <algorithm>
#include <iterator>

namespace xr::demo {

namespace {

enum class Kind { Major, Common, Exotic };

struct Currency
{
    const char *code;
    // As the stores write it, in the languages of Sweden, Denmark, Norway and Finland (UTF-8).
    const char *names[4];
    double euros;          // mid-market value of one unit in euros
    Kind kind;
    const char *markets;   // letters of the markets that sell it: S, D, N, F
    bool buysBack;
};

// Mid-market values of a recent quiet week, rounded; the service is a demo,
// so the rates stay put.
const Currency currencies[] = {
    {"EUR", {"EURO", "EURO", "EURO", "EURO"}, 1.0, Kind::Major, "SDN", true},
    {"USD", {"AMERIKANSKA DOLLAR", "AMERIKANSKE DOLLAR", "AMERIKANSKE DOLLAR", "YHDYSVALTAIN DOLLARI"}, 0.92, Kind::Major, "SDNF", true},
    {"GBP", {"BRITTISKA PUND", "BRITISKE PUND", "BRITISKE PUND", "ENGLANNIN PUNTA"}, 1.18, Kind::Major, "SDNF", true},
    {"CHF", {"SCHWEIZISKA FRANC", "SCHWEIZISKE FRANC", "SVEITSISKE FRANC", "SVEITSIN FRANGI"}, 1.06, Kind::Major, "SDNF", true},
    {"SEK", {"SVENSKA KRONOR", "SVENSKE KRONER", "SVENSKE KRONER", "RUOTSIN KRUUNU"}, 0.0870, Kind::Major, "DNF", true},
    {"NOK", {"NORSKA KRONOR", "NORSKE KRONER", "NORSKE KRONER", "NORJAN KRUUNU"}, 0.0850, Kind::Major, "SDF", true},
    {"DKK", {"DANSKA KRONOR", "DANSKE KRONER", "DANSKE KRONER", "TANSKAN KRUUNU"}, 0.13405, Kind::Major, "SNF", true},
    {"ISK", {"ISLÄNDSKA KRONOR", "ISLANDSKE KRONER", "ISLANDSKE KRONER", "ISLANNIN KRUUNU"}, 0.00665, Kind::Common, "SDNF", true},
    {"PLN", {"POLSKA ZLOTY", "POLSKE ZLOTY", "POLSKE ZLOTY", "PUOLAN ZLOTY"}, 0.2330, Kind::Common, "SDNF", true},
    {"CZK", {"TJECKISKA KORUNA", "TJEKKISKE KORUNA", "TSJEKKISKE KORUNA", "TŠEKIN KORUNA"}, 0.0398, Kind::Common, "SDNF", true},
    {"HUF", {"UNGERSKA FORINT", "UNGARSKE FORINT", "UNGARSKE FORINT", "UNKARIN FORINTTI"}, 0.00252, Kind::Common, "SDNF", true},
    {"RON", {"RUMÄNSKA LEU", "RUMÆNSKE LEU", "RUMENSKE LEU", "ROMANIAN LEU"}, 0.2010, Kind::Common, "SDF", true},
    {"BGN", {"BULGARISKA LEV", "BULGARSKE LEV", "BULGARSKE LEV", "BULGARIAN LEV"}, 0.5113, Kind::Common, "SDF", true},
    {"TRY", {"TURKISKA LIRA", "TYRKISKE LIRA", "TYRKISKE LIRA", "TURKIN LIIRA"}, 0.0262, Kind::Common, "SDNF", true},
    {"CAD", {"KANADENSISKA DOLLAR", "CANADISKE DOLLAR", "KANADISKE DOLLAR", "KANADAN DOLLARI"}, 0.665, Kind::Common, "SDNF", true},
    {"AUD", {"AUSTRALISKA DOLLAR", "AUSTRALSKE DOLLAR", "AUSTRALSKE DOLLAR", "AUSTRALIAN DOLLARI"}, 0.600, Kind::Common, "SDNF", true},
    {"NZD", {"NYZEELÄNDSKA DOLLAR", "NEWZEALANDSKE DOLLAR", "NEWZEALANDSKE DOLLAR", "UUDEN-SEELANNIN DOLLARI"}, 0.548, Kind::Common, "SNF", true},
    {"HKD", {"HONGKONGDOLLAR", "HONGKONGDOLLAR", "HONGKONGDOLLAR", "HONGKONGIN DOLLARI"}, 0.1182, Kind::Common, "SDNF", true},
    {"SGD", {"SINGAPORIANSKA DOLLAR", "SINGAPOREANSKE DOLLAR", "SINGAPORSKE DOLLAR", "SINGAPOREN DOLLARI"}, 0.700, Kind::Common, "SDNF", true},
    {"CNY", {"KINESISKA YUAN", "KINESISKE YUAN", "KINESISKE YUAN", "KIINAN JUAN"}, 0.1270, Kind::Common, "SDNF", true},
    {"JPY", {"JAPANSKA YEN", "JAPANSKE YEN", "JAPANSKE YEN", "JAPANIN JENI"}, 0.00612, Kind::Common, "SDNF", true},
    {"THB", {"THAILÄNDSKA BAHT", "THAILANDSKE BAHT", "THAILANDSKE BAHT", "THAIMAAN BAHT"}, 0.0268, Kind::Common, "SDNF", true},
    {"INR", {"INDISKA RUPIER", "INDISKE RUPEE", "INDISKE RUPI", "INTIAN RUPIA"}, 0.01080, Kind::Exotic, "SNF", true},
    {"IDR", {"INDONESISKA RUPIAH", "INDONESISKE RUPIAH", "INDONESISKE RUPIAH", "INDONESIAN RUPIA"}, 0.0000565, Kind::Exotic, "SN", false},
    {"MYR", {"MALAYSISKA RINGGIT", "MALAYSISKE RINGGIT", "MALAYSISKE RINGGIT", "MALESIAN RINGGIT"}, 0.2080, Kind::Exotic, "SD", true},
    {"PHP", {"FILIPPINSKA PESO", "FILIPPINSKE PESO", "FILIPPINSKE PESO", "FILIPPIINIEN PESO"}, 0.01600, Kind::Exotic, "SN", true},
    {"KRW", {"SYDKOREANSKA WON", "SYDKOREANSKE WON", "SØRKOREANSKE WON", "ETELÄ-KOREAN WON"}, 0.000660, Kind::Exotic, "SDF", true},
    {"VND", {"VIETNAMESISKA DONG", "VIETNAMESISKE DONG", "VIETNAMESISKE DONG", "VIETNAMIN DONG"}, 0.0000355, Kind::Exotic, "SN", false},
    {"ZAR", {"SYDAFRIKANSKA RAND", "SYDAFRIKANSKE RAND", "SØRAFRIKANSKE RAND", "ETELÄ-AFRIKAN RANDI"}, 0.0505, Kind::Common, "SDNF", true},
    {"MXN", {"MEXIKANSKA PESO", "MEXICANSKE PESO", "MEKSIKANSKE PESO", "MEKSIKON PESO"}, 0.0480, Kind::Exotic, "SDF", true},
    {"BRL", {"BRASILIANSKA REAL", "BRASILIANSKE REAL", "BRASILIANSKE REAL", "BRASILIAN REAL"}, 0.1640, Kind::Exotic, "SN", true},
    {"ILS", {"ISRAELISKA SHEKEL", "ISRAELSKE SHEKEL", "ISRAELSKE SHEKEL", "ISRAELIN SEKELI"}, 0.2520, Kind::Exotic, "SDN", true},
    {"AED", {"EMIRATISKA DIRHAM", "EMIRATISKE DIRHAM", "EMIRATISKE DIRHAM", "ARABIEMIIRIKUNTIEN DIRHAM"}, 0.2505, Kind::Common, "SDNF", true},
    {"SAR", {"SAUDIARABISKA RIYAL", "SAUDIARABISKE RIYAL", "SAUDIARABISKE RIYAL", "SAUDI-ARABIAN RIAL"}, 0.2452, Kind::Exotic, "SD", true},
    {"QAR", {"QATARISKA RIYAL", "QATARSKE RIYAL", "QATARSKE RIYAL", "QATARIN RIAL"}, 0.2527, Kind::Exotic, "DN", true},
    {"KWD", {"KUWAITISKA DINAR", "KUWAITISKE DINAR", "KUWAITISKE DINAR", "KUWAITIN DINAARI"}, 3.000, Kind::Exotic, "D", true},
    {"JOD", {"JORDANSKA DINAR", "JORDANSKE DINAR", "JORDANSKE DINAR", "JORDANIAN DINAARI"}, 1.297, Kind::Exotic, "N", true},
    {"TWD", {"TAIWANESISKA DOLLAR", "TAIWANSKE DOLLAR", "TAIWANSKE DOLLAR", "TAIWANIN DOLLARI"}, 0.0285, Kind::Exotic, "SD", true},
    {"RSD", {"SERBISKA DINAR", "SERBISKE DINAR", "SERBISKE DINAR", "SERBIAN DINAARI"}, 0.00854, Kind::Exotic, "SF", true},
    {"BAM", {"BOSNISKA MARK", "BOSNISKE MARK", "BOSNISKE MARK", "BOSNIA-HERTSEGOVINAN MARKKA"}, 0.5113, Kind::Exotic, "S", true},
    {"GEL", {"GEORGISKA LARI", "GEORGISKE LARI", "GEORGISKE LARI", "GEORGIAN LARI"}, 0.3380, Kind::Exotic, "F", true},
    {"KES", {"KENYANSKA SHILLING", "KENYANSKE SHILLING", "KENYANSKE SHILLING", "KENIAN SHILLINKI"}, 0.00712, Kind::Exotic, "SN", false},
    {"LKR", {"SRILANKESISKA RUPIER", "SRILANKANSKE RUPEE", "SRILANKISKE RUPI", "SRI LANKAN RUPIA"}, 0.00310, Kind::Exotic, "S", false},
    {"EGP", {"EGYPTISKA PUND", "EGYPTISKE PUND", "EGYPTISKE PUND", "EGYPTIN PUNTA"}, 0.0183, Kind::Exotic, "SF", true},
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

QString nameIn(const Currency &currency, const Market &market)
{
    static const QString languages[] = {QStringLiteral("sv"), QStringLiteral("da"), QStringLiteral("nb"),
                                        QStringLiteral("fi")};
    const auto language = std::find(std::begin(languages), std::end(languages), market.language);
    return QString::fromUtf8(currency.names[language == std::end(languages) ? 0 : language - languages]);
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
        CurrencyQuote quote{QLatin1String(currency.code), nameIn(currency, market), multiply, mid,
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
