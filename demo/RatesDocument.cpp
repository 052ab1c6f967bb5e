#include "RatesDocument.h"

#include "CurrencyCatalogue.h"
#include "XmlWriter.h"

namespace xr::demo {

namespace {

const QString notQuoted = QStringLiteral("-");

QString optionalRate(const std::optional<double> &value)
{
    return value ? RatesDocument::formatRate(*value) : notQuoted;
}

} // namespace

QString RatesDocument::formatRate(double value)
{
    const int decimals = value >= 10 ? 2 : value >= 1 ? 3 : value >= 0.1 ? 4 : 5;
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

QByteArray RatesDocument::render(const Market &market, const QDateTime &timestamp)
{
    XmlWriter xml;
    xml.startElement("rates");
    xml.element("timestamp", timestamp.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    xml.element("market", market.code);
    xml.startElement("rows");
    for (const CurrencyQuote &quote : CurrencyCatalogue::quotesFor(market)) {
        xml.startElement("row");
        xml.element("swift_code", quote.code);
        xml.element("swift_name", quote.name);
        xml.element("buy_cash", quote.buysBack ? formatRate(quote.buyCash) : notQuoted);
        xml.element("sell_cash", formatRate(quote.sellCash));
        xml.element("buy_tc", optionalRate(quote.buyTravellersCheque));
        xml.element("sell_tc", optionalRate(quote.sellTravellersCheque));
        xml.element("multiply", QString::number(quote.multiply));
        xml.element("base_swift", market.baseCurrency);
        // The guide rate comes from another system, which writes a decimal point.
        xml.element("CurrencyGuide", QString::number(quote.mid, 'f', 4));
        xml.endElement();
    }
    xml.endElement();
    xml.endElement();
    return xml.finish();
}

} // namespace xr::demo
