#include "XRMarkets.h"

#include "XRConfiguration.h"
#include "XRUserDefaults.h"

namespace xr {

XRMarket marketForLanguageIndex(int index)
{
    switch (index) {
    case 1:
        return XRMarket::Denmark;
    case 2:
        return XRMarket::Norway;
    case 3:
        return XRMarket::Finland;
    default:
        return XRMarket::Sweden;
    }
}

QString marketCode(XRMarket market)
{
    switch (market) {
    case XRMarket::Denmark:
        return QStringLiteral("DK");
    case XRMarket::Norway:
        return QStringLiteral("NO");
    case XRMarket::Finland:
        return QStringLiteral("FI");
    case XRMarket::Sweden:
        break;
    }
    return QStringLiteral("SE");
}

QString marketCodeForLanguageIndex(int index)
{
    return marketCode(marketForLanguageIndex(index));
}

QString homeCurrency(XRMarket market)
{
    switch (market) {
    case XRMarket::Denmark:
        return QStringLiteral("DKK");
    case XRMarket::Norway:
        return QStringLiteral("NOK");
    case XRMarket::Finland:
        return QStringLiteral("EUR");
    case XRMarket::Sweden:
        break;
    }
    return QStringLiteral("SEK");
}

QLocale marketLocale(XRMarket market)
{
    switch (market) {
    case XRMarket::Denmark:
        return QLocale(QLocale::Danish, QLocale::Denmark);
    case XRMarket::Norway:
        return QLocale(QLocale::NorwegianBokmal, QLocale::Norway);
    case XRMarket::Finland:
        return QLocale(QLocale::Finnish, QLocale::Finland);
    case XRMarket::Sweden:
        break;
    }
    return QLocale(QLocale::Swedish, QLocale::Sweden);
}

std::optional<int> languageIndexForDeviceLanguage(const QString &code)
{
    static const QString codes[] = {QStringLiteral("sv"), QStringLiteral("da"), QStringLiteral("nb"),
                                    QStringLiteral("fi")};
    for (int index = 0; index < 4; ++index) {
        if (code == codes[index])
            return index;
    }
    return std::nullopt;
}

int storedLanguageIndex()
{
    return XRUserDefaults::standardUserDefaults().integerForKey(QStringLiteral("language"));
}

QString documentPathAndQuery(XRMarketDocument document)
{
    switch (document) {
    case XRMarketDocument::Branches:
        return QStringLiteral("/branchesxml.aspx?datetest=1");
    case XRMarketDocument::News:
        return QStringLiteral("/aktuellt.rss");
    case XRMarketDocument::Rates:
        break;
    }
    return QStringLiteral("/ratesxml.asp?id=520");
}

QUrl documentURL(const XRConfiguration &configuration, int languageIndex, XRMarketDocument document)
{
    const auto market = size_t(marketForLanguageIndex(languageIndex));
    return QUrl(QStringLiteral("http://") + configuration.marketHosts[market] + documentPathAndQuery(document));
}

QString userAgent()
{
    return QStringLiteral("iPhone-Vaxlo-" XR_APP_VERSION);
}

} // namespace xr
