#include "VariantMapPrinter.h"
#include "LogCapture.h"
#include "XRAppDelegate.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRDateCategoryVaxlo.h"
#include "XRLocalizedString.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

using Labels = XRCurrencyConverter::Labels;
using Colour = XRCurrencyConverter::StatusLine::Colour;

std::vector<QString> texts(const Labels &labels)
{
    return {labels.swiftSourceLabel, labels.swiftTransactionLabel, labels.baseDestinationLabel,
            labels.baseSourceLabel,  labels.baseTransactionLabel,  labels.swiftDestinationLabel};
}

std::vector<QString> texts(std::initializer_list<const char *> expected)
{
    std::vector<QString> result;
    for (const char *text : expected)
        result.push_back(QString::fromUtf8(text));
    return result;
}

class CurrencyConverterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        xr::installTranslations(QStringLiteral("en"));
        converter.setClock([this] { return now; });
    }

    // The rows reach the converter through the downloader's own parse.
    void loadRates(const QByteArray &content)
    {
        ASSERT_TRUE(downloader.parseXML("<rates>" + content + "</rates>"));
    }
    void pick(const QByteArray &rowContent)
    {
        loadRates("<row>" + rowContent + "</row>");
        converter.tidyCurrencyArray();
        ASSERT_TRUE(converter.selectCurrencyAtRow(0));
    }
    QVariantMap cleanedRow(const QByteArray &rowContent)
    {
        loadRates("<row>" + rowContent + "</row>");
        converter.tidyCurrencyArray();
        return converter.currenciesArray().value(0).toMap();
    }
    // What a restarted application would read back.
    static QVariantMap savedCurrencyDict()
    {
        XRAppDelegate restarted{XRConfiguration()};
        return restarted.applicationPlistFromFile(QString::fromLatin1(XRAppDelegate::currencyFileName))
            .value_or(QVariant()).toMap();
    }

    XRAppDelegate appDelegate{XRConfiguration()};
    XRCurrencyDownloader downloader{&appDelegate};
    XRCurrencyConverter converter{downloader, appDelegate};
    QDateTime now = QDateTime(QDate(2011, 5, 3), QTime(14, 7), Qt::LocalTime);
};

const QByteArray usd = "<swift_code>USD</swift_code><swift_name>US DOLLAR</swift_name><sell_cash>8,5</sell_cash>"
                       "<buy_cash>8,1</buy_cash><buy_tc>-</buy_tc><sell_tc>-</sell_tc><multiply>1</multiply>"
                       "<base_swift>SEK</base_swift><CurrencyGuide>8,3</CurrencyGuide>";

TEST_F(CurrencyConverterTest, ConvertsBothWaysWithTheRateTheTransactionSelectsButReservesAtTheCashSellingRate)
{
    pick(usd);
    converter.setAmountText(QStringLiteral("100"));
    EXPECT_EQ(texts(converter.setLabels()),
              texts({"100 USD", "sold for:", "850.00 SEK", "100 SEK", "gives you:", "11.76 USD"}));
    EXPECT_EQ(converter.sellCashAmmount(), QStringLiteral("850.00"));
    converter.setTransTypeSegment(XRCurrencyConverter::sellSegment);
    EXPECT_EQ(texts(converter.setLabels()),
              texts({"100 USD", "gives you:", "810.00 SEK", "100 SEK", "sold for:", "12.35 USD"}));
    EXPECT_EQ(converter.sellCashAmmount(), QStringLiteral("850.00")) << "a reservation buys at the cash selling rate";
    converter.setTransTypeSegment(-1);
    EXPECT_EQ(converter.setLabels().baseDestinationLabel, QStringLiteral("810.00 SEK"))
        << "every segment but the first sells";
    converter.setAmountText(QStringLiteral("12,5"));
    EXPECT_EQ(converter.sellCashAmmount(), QStringLiteral("106.25"));
    EXPECT_EQ(converter.ammount(), QStringLiteral("12,5"));
    EXPECT_EQ(converter.swiftCode(), QStringLiteral("USD"));
    EXPECT_EQ(converter.baseSwiftCode(), QStringLiteral("SEK"));

    xr::installTranslations(QStringLiteral("sv"));
    EXPECT_EQ(converter.setLabels().swiftTransactionLabel, QStringLiteral("ger dig:"));
}

TEST_F(CurrencyConverterTest, UnquotedOrZeroRateShowsADashInsteadOfAQuotient)
{
    for (const QByteArray rate : {"-", "0", "0,00", "n/a"}) {
        pick("<swift_code>USD</swift_code><base_swift>SEK</base_swift><sell_cash>" + rate + "</sell_cash>"
             "<buy_cash>8,1</buy_cash><multiply>1</multiply>");
        for (const char *amount : {"100", "0"}) {
            converter.setAmountText(QString::fromLatin1(amount));
            const Labels labels = converter.setLabels();
            EXPECT_EQ(labels.baseDestinationLabel, QStringLiteral("0.00 SEK")) << rate.constData();
            EXPECT_EQ(labels.swiftDestinationLabel, QStringLiteral("- USD")) << rate.constData() << " " << amount;
        }
    }
    converter.setAmountText(QStringLiteral("100"));
    converter.setTransTypeSegment(XRCurrencyConverter::sellSegment);
    EXPECT_EQ(converter.setLabels().swiftDestinationLabel, QStringLiteral("12.35 USD"));
}

TEST_F(CurrencyConverterTest, AmountIsShownAsTypedAndReadInSinglePrecision)
{
    pick(usd);
    const struct
    {
        const char *typed;
        const char *product;
        const char *quotient;
    } cases[] = {
        {"12,5", "106.25 SEK", "1.47 USD"},
        {"12.5.3", "106.25 SEK", "1.47 USD"},
        {"1 000", "8.50 SEK", "0.12 USD"},
        {"abc", "0.00 SEK", "0.00 USD"},
        {"", "0.00 SEK", "0.00 USD"},
        // 1234567.891 is 1234567.875 as a single-precision number.
        {"1234567.891", "10493826.94 SEK", "145243.28 USD"},
    };
    for (const auto &c : cases) {
        converter.setAmountText(QString::fromLatin1(c.typed));
        const Labels labels = converter.setLabels();
        EXPECT_EQ(labels.swiftSourceLabel, QString::fromLatin1(c.typed) + QStringLiteral(" USD"));
        EXPECT_EQ(labels.baseSourceLabel, QString::fromLatin1(c.typed) + QStringLiteral(" SEK"));
        EXPECT_EQ(labels.baseDestinationLabel, QString::fromLatin1(c.product)) << c.typed;
        EXPECT_EQ(labels.swiftDestinationLabel, QString::fromLatin1(c.quotient)) << c.typed;
    }
}

TEST_F(CurrencyConverterTest, WithoutAPickTheDefaultRecordConvertsOneToOne)
{
    loadRates("<row>" + usd + "</row>");
    EXPECT_EQ(converter.currentCurrency(), XRCurrencyConverter::defaultCurrency());
    EXPECT_EQ(converter.currentCurrency().value(QStringLiteral("swift_name")), QStringLiteral("Välj valuta"));
    EXPECT_FALSE(appDelegate.currencyDict().contains(QStringLiteral("currentCurrency")))
        << "the default is not stored";
    converter.setAmountText(QStringLiteral("0.125"));
    EXPECT_EQ(texts(converter.setLabels()),
              texts({"0.125 SEK", "sold for:", "0.12 SEK", "0.125 SEK", "gives you:", "0.12 SEK"}))
        << "two decimals rounded as the C library rounds an exact half";
    EXPECT_EQ(converter.sellCashAmmount(), QStringLiteral("0.12"));
}

TEST_F(CurrencyConverterTest, PickedCurrencyKeepsItsRatesUntilTheNextPick)
{
    pick(usd);
    loadRates("<row><swift_code>USD</swift_code><sell_cash>9,5</sell_cash><base_swift>SEK</base_swift></row>"
              "<row><swift_code>EUR</swift_code><sell_cash>9,1</sell_cash><base_swift>SEK</base_swift></row>");
    converter.tidyCurrencyArray();
    converter.setAmountText(QStringLiteral("100"));
    EXPECT_EQ(converter.setLabels().baseDestinationLabel, QStringLiteral("850.00 SEK"));
    ASSERT_TRUE(converter.selectCurrencyAtRow(1));
    EXPECT_EQ(converter.setLabels().baseDestinationLabel, QStringLiteral("910.00 SEK"));
    EXPECT_EQ(converter.swiftCode(), QStringLiteral("EUR"));
    EXPECT_FALSE(converter.selectCurrencyAtRow(2));
    EXPECT_FALSE(converter.selectCurrencyAtRow(-1));
    EXPECT_EQ(converter.swiftCode(), QStringLiteral("EUR"));
}

TEST_F(CurrencyConverterTest, CleaningPutsRatesPerUnitWithPoints)
{
    xr::test::LogCapture log;
    const QVariantMap row = cleanedRow(
        "<swift_code>JPY</swift_code><swift_name>japanska YEN</swift_name><buy_cash>1234,5</buy_cash>"
        "<sell_cash>8,50</sell_cash><buy_tc>-</buy_tc><sell_tc>1,5</sell_tc><multiply>100</multiply>"
        "<base_swift>SEK</base_swift><CurrencyGuide>1234,5</CurrencyGuide><flag>jp,png</flag>");
    EXPECT_EQ(row, (QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("JPY")},
                                {QStringLiteral("swift_name"), QStringLiteral("Japanska Yen")},
                                {QStringLiteral("buy_cash"), QStringLiteral("12.345000")},
                                {QStringLiteral("sell_cash"), QStringLiteral("0.085000")},
                                {QStringLiteral("buy_tc"), QStringLiteral("-")},
                                {QStringLiteral("sell_tc"), QStringLiteral("0.015000")},
                                {QStringLiteral("multiply"), QStringLiteral("1")},
                                {QStringLiteral("base_swift"), QStringLiteral("SEK")},
                                {QStringLiteral("CurrencyGuide"), QStringLiteral("1234.5")},
                                {QStringLiteral("flag"), QStringLiteral("jp,png")}}));
    EXPECT_EQ(log.messages(), (QStringList{QStringLiteral("NOTE: Adjusting value of JPY by / 100.00"),
                                           QStringLiteral("cleaned CurrencyArray")}));

    const QVariantMap perUnit = cleanedRow("<swift_code>USD</swift_code><sell_cash>8,50</sell_cash>"
                                           "<multiply>1</multiply>");
    EXPECT_EQ(perUnit.value(QStringLiteral("sell_cash")), QStringLiteral("8.50")) << "only the comma changes";

    log.clear();
    const QVariantMap onePointZero = cleanedRow("<swift_code>EUR</swift_code><sell_cash>9,38</sell_cash>"
                                                "<buy_cash>-</buy_cash><multiply>1.0</multiply>");
    EXPECT_EQ(onePointZero.value(QStringLiteral("sell_cash")), QStringLiteral("9.380000"));
    EXPECT_EQ(onePointZero.value(QStringLiteral("buy_cash")), QStringLiteral("-"));
    EXPECT_EQ(onePointZero.value(QStringLiteral("multiply")), QStringLiteral("1"));
    EXPECT_TRUE(log.contains(QStringLiteral("NOTE: Adjusting value of EUR by / 1.00")));
}

TEST_F(CurrencyConverterTest, NamesAreCapitalisedWordByWord)
{
    const struct
    {
        const char *name;
        const char *capitalised;
    } cases[] = {
        {"svenska KRONOR", "Svenska Kronor"},
        {"ÖSTKARIBISK dollar", "Östkaribisk Dollar"},
        {"bosnia-HERZEGOVINA mark", "Bosnia-herzegovina Mark"},
        {"us\tdollar\ncash  notes", "Us\tDollar\nCash  Notes"},
        {"éCU ǆungla", "Écu Ǆungla"},
        {"straße", "Straße"},
    };
    for (const auto &c : cases) {
        const QByteArray name = c.name;
        EXPECT_EQ(cleanedRow("<swift_name>" + name + "</swift_name>").value(QStringLiteral("swift_name")),
                  QString::fromUtf8(c.capitalised))
            << c.name;
    }
}

TEST_F(CurrencyConverterTest, CleaningTwiceChangesNothing)
{
    loadRates("<row><swift_code>DKK</swift_code><swift_name>ßdanska KRONOR</swift_name><buy_cash>115,20</buy_cash>"
              "<sell_cash>126,40</sell_cash><buy_tc>-</buy_tc><sell_tc>125,5</sell_tc><multiply>100</multiply>"
              "<CurrencyGuide>120,89</CurrencyGuide></row>"
              "<row><swift_code>EUR</swift_code><buy_cash>8,62</buy_cash><multiply>1.0</multiply></row>");
    converter.tidyCurrencyArray();
    const QVariantList once = converter.currenciesArray();
    EXPECT_EQ(once.value(0).toMap().value(QStringLiteral("buy_cash")), QStringLiteral("1.152000"));
    converter.tidyCurrencyArray();
    EXPECT_EQ(converter.currenciesArray(), once);
}

TEST_F(CurrencyConverterTest, RowsLackingKeysAreCleanedWithoutInventingThem)
{
    const QVariantMap bare = cleanedRow("<swift_code>XAU</swift_code><multiply>100</multiply>");
    EXPECT_EQ(bare, (QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("XAU")},
                                 {QStringLiteral("multiply"), QStringLiteral("1")}}));
    const QVariantMap noMultiply = cleanedRow("<swift_code>XAG</swift_code><sell_cash>12,5</sell_cash>");
    EXPECT_EQ(noMultiply, (QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("XAG")},
                                       {QStringLiteral("sell_cash"), QStringLiteral("12.5")}}));
    EXPECT_EQ(cleanedRow(""), (QVariantMap{{QStringLiteral("row"), QString()}}));

    ASSERT_TRUE(converter.selectCurrencyAtRow(0));
    converter.setAmountText(QStringLiteral("10"));
    EXPECT_EQ(texts(converter.setLabels()), texts({"10 ", "sold for:", "0.00 ", "10 ", "gives you:", "- "}));
}

TEST_F(CurrencyConverterTest, StatusLineJudgesTheAgeOfTheRatesEitherWayAndTrustsAnUndatedTimestamp)
{
    const QString timestamp = QStringLiteral("2011-05-03 14:07");
    const QString fresh = QStringLiteral("Last update 2011-05-03 14:07\nCash rates. Subject to change.");
    const QString old = QStringLiteral("Warning: old rates\n2011-05-03 14:07");
    const QDateTime rates(QDate(2011, 5, 3), QTime(14, 7), Qt::LocalTime);
    const struct
    {
        qint64 msecsFromRates;
        bool fresh;
    } cases[] = {
        {0, true},
        {86400 * 1000LL, true},
        {86400 * 1000LL + 999, true},
        {86401 * 1000LL, false},
        {-86400 * 1000LL - 999, true},
        {-86401 * 1000LL, false},
        {-30 * 86400 * 1000LL, false},
    };
    loadRates("<timestamp>" + timestamp.toUtf8() + "</timestamp>");
    for (const auto &c : cases) {
        now = rates.addMSecs(c.msecsFromRates);
        const auto status = converter.setupCurrencies();
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(status->text, c.fresh ? fresh : old) << c.msecsFromRates;
        EXPECT_EQ(status->colour, c.fresh ? Colour::Black : Colour::Red) << c.msecsFromRates;
    }

    xr::installTranslations(QStringLiteral("sv"));
    now = rates.addDays(2);
    EXPECT_EQ(converter.setupCurrencies()->text, QStringLiteral("Varning: gamla kurser\n2011-05-03 14:07"));

    // A timestamp that is no date counts as current, however late it is.
    xr::installTranslations(QStringLiteral("en"));
    now = QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::LocalTime);
    loadRates("<timestamp>3 maj 2011 14:07</timestamp>");
    const auto undated = converter.setupCurrencies();
    ASSERT_TRUE(undated.has_value());
    EXPECT_EQ(undated->text, QStringLiteral("Last update 3 maj 2011 14:07\nCash rates. Subject to change."));
    EXPECT_EQ(undated->colour, Colour::Black);
}

TEST_F(CurrencyConverterTest, ParseEndStoresTheTimestampAndCleansTheRows)
{
    loadRates("<row>" + usd + "</row>");
    EXPECT_FALSE(converter.setupCurrencies().has_value()) << "without a timestamp the status line stays";
    EXPECT_FALSE(appDelegate.currencyDict().contains(QStringLiteral("timestamp")));
    EXPECT_TRUE(savedCurrencyDict().isEmpty());
    EXPECT_EQ(converter.currenciesArray().value(0).toMap().value(QStringLiteral("sell_cash")),
              QStringLiteral("8.5"));

    loadRates("<timestamp>2011-05-03 14:07</timestamp>");
    ASSERT_TRUE(converter.setupCurrencies().has_value());
    EXPECT_EQ(appDelegate.currencyDict().value(QStringLiteral("timestamp")), QStringLiteral("2011-05-03 14:07"));
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("timestamp")), QStringLiteral("2011-05-03 14:07"));
}

TEST_F(CurrencyConverterTest, TransactionAndAmountAreSavedAtOnceAndThePickWithTheNextSave)
{
    pick(usd);
    EXPECT_EQ(appDelegate.currencyDict().value(QStringLiteral("currentCurrency")).toMap(),
              converter.currenciesArray().value(0).toMap());
    EXPECT_FALSE(savedCurrencyDict().contains(QStringLiteral("currentCurrency")));

    converter.transTypeChanged(XRCurrencyConverter::sellSegment);
    EXPECT_EQ(converter.transTypeSegment(), XRCurrencyConverter::sellSegment);
    QVariantMap saved = savedCurrencyDict();
    EXPECT_EQ(saved.value(QStringLiteral("transType")), QStringLiteral("sell"));
    EXPECT_EQ(saved.value(QStringLiteral("currentCurrency")).toMap().value(QStringLiteral("swift_code")),
              QStringLiteral("USD"));

    converter.transTypeChanged(-1);
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("transType")), QStringLiteral("buy"));

    converter.setAmountText(QStringLiteral("12,5"));
    EXPECT_FALSE(savedCurrencyDict().contains(QStringLiteral("amount")));
    converter.amountEditingDidEnd();
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("amount")), QStringLiteral("12,5"));

    // The pick read back from the file after a restart still converts.
    XRAppDelegate restarted{XRConfiguration()};
    restarted.currencyDict() = savedCurrencyDict();
    XRCurrencyConverter afterRestart(downloader, restarted);
    afterRestart.setAmountText(QStringLiteral("100"));
    EXPECT_EQ(afterRestart.swiftCode(), QStringLiteral("USD"));
    EXPECT_EQ(afterRestart.sellCashAmmount(), QStringLiteral("850.00"));
}

TEST(DateFromTimeStampTest, ReadsExactlyTheTimestampPatternInLocalTime)
{
    const auto summer = XRDateCategoryVaxlo::dateFromTimeStamp(QStringLiteral("2011-05-03 14:07"));
    ASSERT_TRUE(summer.has_value());
    EXPECT_EQ(summer->toUTC(), QDateTime(QDate(2011, 5, 3), QTime(12, 7), Qt::UTC)) << "Stockholm summer time";
    const auto winter = XRDateCategoryVaxlo::dateFromTimeStamp(QStringLiteral("2011-12-31 23:59"));
    ASSERT_TRUE(winter.has_value());
    EXPECT_EQ(winter->toUTC(), QDateTime(QDate(2011, 12, 31), QTime(22, 59), Qt::UTC));

    for (const char *text : {"", "2011-5-03 14:07", "2011-05-03 4:07", "2011-05-03 14:07:00", "2011-05-03T14:07",
                             " 2011-05-03 14:07", "2011-05-03 14:07\n", "2011-13-03 14:07", "2011-02-29 10:00",
                             "2011-05-03 24:00", "2011-05-03 14:60", "03-05-2011 14:07", "2011-05-03 14.07"})
        EXPECT_FALSE(XRDateCategoryVaxlo::dateFromTimeStamp(QString::fromLatin1(text)).has_value()) << text;
}

} // namespace
