#include "LoopbackServer.h"
#include "OrbDateCategory.h"
#include "RecordingShell.h"
#include "XRAppDelegate.h"
#include "XRMarkets.h"
#include "XRNewsFeedLoader.h"
#include "XRNewsFeedParser.h"
#include "XRUserDefaults.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

using xr::test::Response;

QByteArray feedOf(const QByteArray &title)
{
    return "<rss><channel><item><title>" + title + "</title></item></channel></rss>";
}

// Sweden and Denmark on hosts of their own, the loader redrawing nothing but a count.
class NewsFeedLoaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        XRUserDefaults::resetStandardUserDefaults();
        XRConfiguration configuration;
        for (int market = 0; market < 4; ++market)
            configuration.marketHosts[market] = QStringLiteral("127.0.0.1:%1").arg((market == 1 ? denmark : sweden).port());
        delegate = std::make_unique<XRAppDelegate>(configuration, &shell);
        delegate->setClock([this] { return now; });
        loader = std::make_unique<XRNewsFeedLoader>(delegate.get(), [this] { ++redraws; });
    }

    QStringList titles() const
    {
        QStringList list;
        for (const QVariant &story : loader->stories().value_or(QVariantList()))
            list << story.toMap().value(QStringLiteral("title")).toString();
        return list;
    }

    xr::test::LoopbackServer sweden, denmark;
    xr::test::RecordingShell shell;
    QDateTime now = QDateTime::currentDateTime();
    std::unique_ptr<XRAppDelegate> delegate;
    std::unique_ptr<XRNewsFeedLoader> loader;
    int redraws = 0;
};

TEST_F(NewsFeedLoaderTest, EachLoadReplacesTheStoriesAndAFailedLoadKeepsThem)
{
    EXPECT_FALSE(loader->stories().has_value());
    sweden.route(QStringLiteral("/aktuellt.rss"), {.body = feedOf("Ett")});
    loader->loadNews();
    sweden.route(QStringLiteral("/aktuellt.rss"), {.body = feedOf("Två")});
    delegate->displayLoadingSplash();
    loader->loadNews();
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Två")});
    EXPECT_FALSE(shell.splashShown);
    const xr::test::ReceivedRequest request = sweden.requests().value(0);
    EXPECT_EQ(request.method + ' ' + request.target + ' ' + request.header("User-Agent"),
              "GET /aktuellt.rss " + xr::userAgent().toUtf8());

    const Response failures[] = {
        {.status = 500, .body = feedOf("Fel")},
        {.body = feedOf("Halv"), .fault = Response::Fault::DropMidBody},
        {.body = feedOf("Trasig") + "<item>"},
    };
    for (const Response &failure : failures) {
        SCOPED_TRACE(failure.status);
        now = now.addSecs(61); // past the alert's quiet minute
        const qsizetype alerts = shell.alerts.size();
        delegate->displayLoadingSplash();
        sweden.route(QStringLiteral("/aktuellt.rss"), failure);
        loader->loadNews();
        EXPECT_EQ(titles(), QStringList{QStringLiteral("Två")});
        EXPECT_EQ(shell.alerts.size(), alerts + 1);
        EXPECT_FALSE(shell.splashShown);
    }
    EXPECT_EQ(redraws, 5);
}

TEST_F(NewsFeedLoaderTest, ALoadAskedForDuringALoadRunsAfterItForTheMarketThenChosen)
{
    // The answer waits, so that the second request surely comes while the first runs.
    sweden.route(QStringLiteral("/aktuellt.rss"), {.body = feedOf("Svensk"), .delay = std::chrono::milliseconds(200)});
    denmark.route(QStringLiteral("/aktuellt.rss"), {.body = feedOf("Dansk")});
    bool askedWhileLoading = false;
    qsizetype danishRequestsWhenAsked = -1;
    QTimer::singleShot(0, [&] {
        askedWhileLoading = loader->isLoading();
        XRUserDefaults::standardUserDefaults().setObject(1, QStringLiteral("language"));
        loader->loadNews();
        danishRequestsWhenAsked = denmark.requests().size();
    });
    loader->loadNews();
    EXPECT_TRUE(askedWhileLoading);
    EXPECT_EQ(danishRequestsWhenAsked, 0) << "the second load did not run inside the first";
    EXPECT_EQ(sweden.requests().size() + denmark.requests().size(), 2);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Dansk")});
    EXPECT_EQ(redraws, 2);
    EXPECT_FALSE(loader->isLoading());
}

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
    const struct { const char *name; QByteArray items; QVariantList expected; } cases[] = {
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
