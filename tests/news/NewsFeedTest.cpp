#include "OrbDateCategory.h"
#include "XRNewsFeedParser.h"

#include <gtest/gtest.h>

namespace {

QByteArray feed(const QByteArray &items)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss version=\"2.0\"><channel><title>Vaxlo</title>"
           "<link>http://vaxlo.example/</link><description>Nyheter</description>" + items + "</channel></rss>";
}

QVariantMap newsItem(const QString &title, const QString &link, const QString &summary, const QString &rawdate,
                     const QString &datestring = {}, const QDateTime &date = {})
{
    QVariantMap item{{QStringLiteral("title"), title}, {QStringLiteral("link"), link}, {QStringLiteral("summary"), summary},
                     {QStringLiteral("rawdate"), rawdate}, {QStringLiteral("datestring"), datestring}};
    if (date.isValid())
        item.insert(QStringLiteral("date"), date);
    return item;
}

TEST(NewsFeedParserTest, EachItemCollectsTheTextOfTheElementMostRecentlyStarted)
{
    // The seconds are read as hundredths: 59 of them, and the minute stays 14:07.
    const QVariantMap dated = newsItem(QStringLiteral("Ny butik"), QStringLiteral("http://vaxlo.example/1"),
                                       QStringLiteral("Välkommen"), QStringLiteral("2011-05-03 14:07:59"),
                                       QStringLiteral("03 maj 14:07"), QDateTime(QDate(2011, 5, 3), QTime(14, 7, 0, 590)));
    const struct
    {
        const char *name;
        QByteArray items;
        QVariantList expected;
    } cases[] = {
        {"dated item; the feed's own texts are dropped",
         "<item><title>Ny butik</title><link>http://vaxlo.example/1</link><description>Välkommen</description>"
         "<pubDate>2011-05-03 14:07:59</pubDate></item>",
         {dated}},
        {"the line breaks and indentation between elements are no element's text",
         "<item>\n  <title>Rubrik</title>\n  <link>http://vaxlo.example/2</link>\n  <pubDate>2011-05-03 14:07:00</pubDate>\n</item>",
         {newsItem(QStringLiteral("Rubrik"), QStringLiteral("http://vaxlo.example/2"), {}, QStringLiteral("2011-05-03 14:07:00"),
                   QStringLiteral("03 maj 14:07"), QDateTime(QDate(2011, 5, 3), QTime(14, 7)))}},
        {"no link, CDATA, a child element's text and names of another case",
         "<item><title>A<b>fet</b> text</title><description><![CDATA[<p>html</p>]]></description>"
         "<Link>http://x/</Link><pubDate>Tue, 03 May 2011 14:07:59 +0200</pubDate></item>",
         {newsItem(QStringLiteral("A"), {}, {}, QStringLiteral("Tue, 03 May 2011 14:07:59 +0200"))}},
        {"two items, each from its own texts",
         "<item><title>Ett</title><pubDate>2011-05-03 14:07:00</pubDate></item><item><title>Två</title></item>",
         {newsItem(QStringLiteral("Ett"), {}, {}, QStringLiteral("2011-05-03 14:07:00"), QStringLiteral("03 maj 14:07"),
                   QDateTime(QDate(2011, 5, 3), QTime(14, 7))),
          newsItem(QStringLiteral("Två"), {}, {}, {})}},
        {"feed without items", "", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const XRNewsFeedParser::Result result = XRNewsFeedParser::parse(feed(c.items));
        EXPECT_FALSE(result.error.has_value());
        EXPECT_EQ(result.stories, c.expected);
    }
}

TEST(NewsDateTest, OnlyTheFeedsOwnPatternGivesADate)
{
    for (const char *text : {"", "2011-05-03 14:07", "2011-05-03T14:07:59", "2011-05-03 14:07:59 ", "2011-02-30 10:00:00",
                             "2011-05-03 24:07:59", "Tue, 03 May 2011 14:07:59 +0200", "2011-5-3 14:07:59"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(OrbDateCategory::dateFromRSSDateString(QString::fromUtf8(text)).has_value());
    }
}

} // namespace
