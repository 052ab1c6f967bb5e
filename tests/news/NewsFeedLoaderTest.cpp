#include "LoopbackServer.h"
#include "RecordingShell.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRMarkets.h"
#include "XRNewsFeedLoader.h"
#include "XRUserDefaults.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

using xr::test::LoopbackServer;
using xr::test::Response;

const QString feedPath = QStringLiteral("/aktuellt.rss");

QByteArray feedOf(const QStringList &titles)
{
    QByteArray items;
    for (const QString &title : titles)
        items += "<item><title>" + title.toUtf8() + "</title><link>http://vaxlo.example/</link></item>";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss><channel>" + items + "</channel></rss>";
}

class NewsFeedLoaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        XRUserDefaults::resetStandardUserDefaults();
        XRUserDefaults::standardUserDefaults().setObject(0, QStringLiteral("language"));
        XRConfiguration configuration;
        const QString swedishHost = QStringLiteral("127.0.0.1:%1").arg(sweden.port());
        configuration.marketHosts = {swedishHost, QStringLiteral("127.0.0.1:%1").arg(denmark.port()), swedishHost,
                                     swedishHost};
        delegate = std::make_unique<XRAppDelegate>(configuration, &shell);
        delegate->setClock([this] { return now; });
        XRApplication::sharedApplication().setDelegate(delegate.get());
        loader = std::make_unique<XRNewsFeedLoader>([this] { ++redraws; });
    }
    void TearDown() override { XRApplication::sharedApplication().setDelegate(nullptr); }

    QStringList titles() const
    {
        QStringList list;
        for (const QVariant &story : loader->stories().value_or(QVariantList()))
            list << story.toMap().value(QStringLiteral("title")).toString();
        return list;
    }

    LoopbackServer sweden;
    LoopbackServer denmark;
    xr::test::RecordingShell shell;
    QDateTime now = QDateTime::currentDateTime();
    std::unique_ptr<XRAppDelegate> delegate;
    std::unique_ptr<XRNewsFeedLoader> loader;
    int redraws = 0;
};

TEST_F(NewsFeedLoaderTest, EachLoadReplacesTheStoriesAndAFailedLoadKeepsThem)
{
    EXPECT_FALSE(loader->stories().has_value());
    sweden.route(feedPath, {.body = feedOf({QStringLiteral("Ett"), QStringLiteral("Två")})});
    delegate->displayLoadingSplash();
    loader->loadNews();
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("Ett"), QStringLiteral("Två")}));
    EXPECT_FALSE(shell.splashShown);
    EXPECT_EQ(redraws, 1);
    ASSERT_EQ(sweden.requests().size(), 1);
    EXPECT_EQ(sweden.requests()[0].method + ' ' + sweden.requests()[0].target + ' ' + sweden.requests()[0].header("User-Agent"),
              "GET /aktuellt.rss " + xr::userAgent().toUtf8());

    sweden.route(feedPath, {.body = feedOf({QStringLiteral("Tre")})});
    loader->loadNews();
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Tre")});

    const struct
    {
        const char *name;
        Response response;
    } failures[] = {
        {"error status", {.status = 500, .body = feedOf({QStringLiteral("Fel")})}},
        {"dropped connection", {.body = feedOf({QStringLiteral("Halv")}), .fault = Response::Fault::DropMidBody}},
        {"broken feed", {.body = feedOf({QStringLiteral("Fyra")}) + "<item><title>"}},
        {"no feed at all", {.status = 404}},
    };
    for (const auto &failure : failures) {
        SCOPED_TRACE(failure.name);
        now = now.addSecs(61); // past the alert's quiet minute
        const int alerts = int(shell.alerts.size());
        delegate->displayLoadingSplash();
        sweden.route(feedPath, failure.response);
        loader->loadNews();
        EXPECT_EQ(titles(), QStringList{QStringLiteral("Tre")});
        EXPECT_EQ(shell.alerts.size(), alerts + 1);
        EXPECT_FALSE(shell.splashShown);
        EXPECT_FALSE(loader->isLoading());
    }
    EXPECT_EQ(redraws, 2 + int(std::size(failures)));
}

TEST_F(NewsFeedLoaderTest, ALoadAskedForDuringALoadRunsAfterItForTheMarketThenChosen)
{
    // The answer waits a little, so that the second request surely comes while the first runs.
    sweden.route(feedPath, {.body = feedOf({QStringLiteral("Svensk")}), .delay = std::chrono::milliseconds(200)});
    denmark.route(feedPath, {.body = feedOf({QStringLiteral("Dansk")})});
    qsizetype requestsWhenAsked = -1;
    QTimer::singleShot(0, [&] {
        XRUserDefaults::standardUserDefaults().setObject(1, QStringLiteral("language"));
        loader->loadNews();
        requestsWhenAsked = sweden.requests().size() + denmark.requests().size();
    });
    loader->loadNews();
    EXPECT_EQ(requestsWhenAsked, 1) << "the second load did not start inside the first";
    EXPECT_EQ(denmark.requests().size(), 1);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Dansk")});
    EXPECT_EQ(redraws, 2);
    EXPECT_FALSE(loader->isLoading());
}

} // namespace
