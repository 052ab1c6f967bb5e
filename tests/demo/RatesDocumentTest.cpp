#include "CurrencyCatalogue.h"
#include "DemoTestHelpers.h"
#include "Market.h"
#include "RatesDocument.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace xr::demo;
using namespace xr::demo::test;

namespace {

std::optional<CurrencyQuote> quote(const QString &marketCode, const QString &currency)
{
    for (const CurrencyQuote &candidate : CurrencyCatalogue::quotesFor(*Market::byCode(marketCode))) {
        if (candidate.code == currency)
            return candidate;
    }
    return std::nullopt;
}

} // namespace

TEST(CurrencyCatalogue, EachMarketSellsBetween25And40ForeignCurrencies)
{
    for (const Market &market : Market::all()) {
        const QList<CurrencyQuote> quotes = CurrencyCatalogue::quotesFor(market);
        EXPECT_GE(quotes.size(), 25) << market.code.toStdString();
        EXPECT_LE(quotes.size(), 40) << market.code.toStdString();
        QSet<QString> codes;
        for (const CurrencyQuote &q : quotes) {
            EXPECT_NE(q.code, market.baseCurrency) << market.code.toStdString();
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Z]{3}$")).match(q.code).hasMatch());
            EXPECT_TRUE(CurrencyCatalogue::sells(market, q.code));
            codes.insert(q.code);
        }
        EXPECT_EQ(codes.size(), quotes.size()) << "a currency listed twice in " << market.code.toStdString();
    }
}

TEST(CurrencyCatalogue, SellsOnlyWhatTheMarketLists)
{
    const Market &sweden = *Market::byCode(QStringLiteral("SE"));
    const Market &finland = *Market::byCode(QStringLiteral("FI"));
    EXPECT_TRUE(CurrencyCatalogue::sells(sweden, QStringLiteral("EUR")));
    EXPECT_FALSE(CurrencyCatalogue::sells(finland, QStringLiteral("EUR"))) << "the base currency is not for sale";
    EXPECT_FALSE(CurrencyCatalogue::sells(sweden, QStringLiteral("SEK")));
    EXPECT_FALSE(CurrencyCatalogue::sells(sweden, QStringLiteral("KWD"))) << "listed in Denmark only";
    EXPECT_FALSE(CurrencyCatalogue::sells(sweden, QStringLiteral("usd")));
    EXPECT_FALSE(CurrencyCatalogue::sells(sweden, QString()));
}

TEST(CurrencyCatalogue, CashRatesCarryARetailSpreadOnBothSidesOfTheMid)
{
    for (const Market &market : Market::all()) {
        for (const CurrencyQuote &q : CurrencyCatalogue::quotesFor(market)) {
            const std::string where = market.code.toStdString() + " " + q.code.toStdString();
            const double over = (q.sellCash - q.mid) / q.mid;
            const double under = (q.mid - q.buyCash) / q.mid;
            EXPECT_GE(over, 0.04) << where;
            EXPECT_LE(over, 0.08) << where;
            EXPECT_GE(under, 0.04) << where;
            EXPECT_LE(under, 0.08) << where;
            if (q.sellTravellersCheque) {
                EXPECT_LT(*q.buyTravellersCheque, q.mid) << where;
                EXPECT_GT(*q.sellTravellersCheque, q.mid) << where;
            }
        }
    }
}

// Cross rates worked out the wrong way round, or per unit where the board says
// per hundred, land far outside what a customer would recognise.
TEST(CurrencyCatalogue, RatesAreInTheRangeRealBoardsShow)
{
    struct Expectation { const char *market; const char *currency; int multiply; double low; double high; };
    const Expectation expectations[] = {
        {"SE", "EUR", 1, 10.0, 13.0},   {"SE", "USD", 1, 9.0, 12.0},   {"SE", "JPY", 100, 5.5, 8.5},
        {"SE", "HUF", 100, 2.3, 3.5},   {"SE", "ISK", 100, 6.0, 9.0},  {"SE", "THB", 100, 25.0, 36.0},
        {"DK", "EUR", 1, 7.0, 8.0},     {"DK", "SEK", 1, 0.55, 0.75},  {"DK", "GBP", 1, 8.0, 9.5},
        {"NO", "EUR", 1, 10.5, 13.0},   {"NO", "DKK", 1, 1.4, 1.7},    {"NO", "USD", 1, 9.5, 12.5},
        {"FI", "USD", 1, 0.85, 1.0},    {"FI", "SEK", 100, 7.5, 10.0}, {"FI", "GBP", 1, 1.05, 1.3},
    };
    for (const Expectation &e : expectations) {
        const std::optional<CurrencyQuote> q = quote(QLatin1String(e.market), QLatin1String(e.currency));
        ASSERT_TRUE(q) << e.market << " " << e.currency;
        EXPECT_EQ(q->multiply, e.multiply) << e.market << " " << e.currency;
        EXPECT_GT(q->mid, e.low) << e.market << " " << e.currency;
        EXPECT_LT(q->mid, e.high) << e.market << " " << e.currency;
    }
}

TEST(RatesDocument, EveryRowHoldsTheNineFieldsWithDecimalCommas)
{
    const QRegularExpression rate(QStringLiteral("^(\\d+,\\d+|-)$"));
    const QRegularExpression guide(QStringLiteral("^\\d+\\.\\d+$"));
    for (const Market &market : Market::all()) {
        const XmlDocument document(RatesDocument::render(market, fixedNow()));
        ASSERT_TRUE(document.wellFormed()) << market.code.toStdString();
        EXPECT_EQ(childText(document.root(), "timestamp"), QStringLiteral("2026-11-30 10:00"));

        const QList<xmlNode *> rows = childElements(childElement(document.root(), "rows"), "row");
        ASSERT_EQ(rows.size(), CurrencyCatalogue::quotesFor(market).size());
        for (const xmlNode *row : rows) {
            const std::string where = market.code.toStdString() + " " + childText(row, "swift_code").toStdString();
            QStringList names;
            for (const xmlNode *field : childElements(row))
                names << nameOf(field);
            EXPECT_EQ(names, QStringList({"swift_code", "swift_name", "buy_cash", "sell_cash", "buy_tc", "sell_tc",
                                          "multiply", "base_swift", "CurrencyGuide"}))
                << where;
            const QString name = childText(row, "swift_name");
            EXPECT_FALSE(name.isEmpty()) << where;
            EXPECT_EQ(name, name.toUpper()) << where;
            for (const char *field : {"buy_cash", "sell_cash", "buy_tc", "sell_tc"})
                EXPECT_TRUE(rate.match(childText(row, field)).hasMatch()) << where << " " << field;
            EXPECT_NE(childText(row, "sell_cash"), QStringLiteral("-")) << where << ": every currency is for sale";
            EXPECT_TRUE(QStringList({"1", "100"}).contains(childText(row, "multiply"))) << where;
            EXPECT_EQ(childText(row, "base_swift"), market.baseCurrency) << where;
            EXPECT_TRUE(guide.match(childText(row, "CurrencyGuide")).hasMatch()) << where;
        }
    }
}

TEST(RatesDocument, SomeRatesAreNotQuoted)
{
    const XmlDocument document(RatesDocument::render(*Market::byCode(QStringLiteral("SE")), fixedNow()));
    int withoutBuyBack = 0;
    int withCheques = 0;
    int withoutCheques = 0;
    int perHundred = 0;
    for (const xmlNode *row : childElements(childElement(document.root(), "rows"), "row")) {
        withoutBuyBack += childText(row, "buy_cash") == QLatin1String("-");
        (childText(row, "buy_tc") == QLatin1String("-") ? withoutCheques : withCheques) += 1;
        perHundred += childText(row, "multiply") == QLatin1String("100");
    }
    EXPECT_GE(withoutBuyBack, 1);
    EXPECT_GE(withCheques, 1);
    EXPECT_GT(withoutCheques, withCheques);
    EXPECT_GE(perHundred, 4);
}

TEST(RatesDocument, WritesRatesWithADecimalCommaAndEnoughDecimals)
{
    EXPECT_EQ(RatesDocument::formatRate(11.0512), QStringLiteral("11,05"));
    EXPECT_EQ(RatesDocument::formatRate(1.2346), QStringLiteral("1,235"));
    EXPECT_EQ(RatesDocument::formatRate(0.957), QStringLiteral("0,9570"));
    EXPECT_EQ(RatesDocument::formatRate(0.04081), QStringLiteral("0,04081"));
}
