#include "VariantMapPrinter.h"
#include "XRAppDelegate.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QByteArray readData(const char *name)
{
    QFile file(QStringLiteral(XR_TEST_DATA_DIR "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QVariantMap row(const XRCurrencyDownloader &downloader, int index)
{
    return downloader.dataDict().value(QStringLiteral("currencies")).toList().value(index).toMap();
}

// The rates body read the way a finished load reads it, with the parse-end
// notifications counted.
class RatesDocumentTest : public testing::Test
{
protected:
    RatesDocumentTest()
    {
        XRNotificationCenter::defaultCenter().addObserver(this, XRCurrenciesDidEndParsingNotification,
                                                          [this](const XRNotification &) { ++parseEnds; });
    }
    ~RatesDocumentTest() override { XRNotificationCenter::defaultCenter().removeObserver(this); }

    XRCurrencyDownloader downloader{nullptr};
    int parseEnds = 0;
};

TEST_F(RatesDocumentTest, MarketDocumentMatchesItsGoldenFilesRawAndCleaned)
{
    ASSERT_TRUE(downloader.parseXML(readData("rates-se.xml")));
    const QJsonObject raw = QJsonObject::fromVariantMap(downloader.dataDict());
    EXPECT_EQ(raw, QJsonDocument::fromJson(readData("rates-se.raw.json")).object())
        << QJsonDocument(raw).toJson().toStdString();

    XRAppDelegate appDelegate{XRConfiguration()};
    XRCurrencyConverter(downloader, appDelegate).tidyCurrencyArray();
    const QJsonObject cleaned = QJsonObject::fromVariantMap(downloader.dataDict());
    EXPECT_EQ(cleaned, QJsonDocument::fromJson(readData("rates-se.json")).object())
        << QJsonDocument(cleaned).toJson().toStdString();
    EXPECT_EQ(parseEnds, 1);
}

TEST_F(RatesDocumentTest, RowsKeepEveryTextOnlyElementAsWritten)
{
    ASSERT_TRUE(downloader.parseXML(
        "<rates>"
        "<row><swift_code>USD</swift_code><buy_cash> 8,50 </buy_cash><buy_cash>8,60</buy_cash><note/></row>"
        "<row><swift_name>US <![CDATA[Dollar]]> &amp; cent&#115;</swift_name><sell_cash>8&#44;<![CDATA[5]]>0</sell_cash></row>"
        "<row><swift_code>EUR</swift_code><extra>dropped<a>1</a>dropped<b>2</b>dropped</extra></row>"
        "</rates>"));
    EXPECT_EQ(row(downloader, 0), (QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("USD")},
                                               {QStringLiteral("buy_cash"), QStringLiteral("8,60")},
                                               {QStringLiteral("note"), QString()}}))
        << "a repeated element keeps its last value";
    EXPECT_EQ(row(downloader, 1), (QVariantMap{{QStringLiteral("swift_name"), QStringLiteral("US Dollar & cents")},
                                               {QStringLiteral("sell_cash"), QStringLiteral("8,50")}}))
        << "text, references and CDATA join into one value";
    EXPECT_EQ(row(downloader, 2), (QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("EUR")},
                                               {QStringLiteral("a"), QStringLiteral("1")},
                                               {QStringLiteral("b"), QStringLiteral("2")}}))
        << "an element with children stores nothing of its own";

    ASSERT_TRUE(downloader.parseXML("<rates><row><buy_cash>\n\t 8,50 \n</buy_cash></row></rates>"));
    EXPECT_EQ(row(downloader, 0).value(QStringLiteral("buy_cash")), QStringLiteral("\n\t 8,50 \n"));
}

TEST_F(RatesDocumentTest, BrokenDocumentLeavesThePreviousResultWhole)
{
    ASSERT_TRUE(downloader.parseXML(readData("rates-se.xml")));
    const QVariantMap before = downloader.dataDict();
    const QByteArray broken[] = {
        "<rates><timestamp>2011-05-04 09:00</timestamp><market>DK</market><row><swift_code>USD</swift_code></row>",
        "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_code>USD</swift_code></rates>",
        "<!DOCTYPE r [<!ENTITY a \"x\">]><rates><timestamp>&a;</timestamp></rates>",
        // Bytes that are not UTF-8 inside CDATA.
        "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_name><![CDATA[\xff\xfe]]></swift_name></row></rates>",
        "<html><body>Service unavailable<br></body></html>",
        "",
    };
    for (const QByteArray &body : broken) {
        EXPECT_FALSE(downloader.parseXML(body)) << body.constData();
        EXPECT_EQ(downloader.dataDict(), before) << body.constData();
    }
    EXPECT_EQ(parseEnds, 1);

    // The rows gathered before an error do not leak into the next document.
    ASSERT_TRUE(downloader.parseXML("<rates><row><swift_code>NOK</swift_code></row></rates>"));
    EXPECT_EQ(downloader.dataDict().value(QStringLiteral("currencies")).toList().size(), 1);
}

} // namespace
