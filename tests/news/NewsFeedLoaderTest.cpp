#include "LoopbackServer.h"
#include "RecordingShell.h"
#include "XRAppDelegate.h"
#include "XRMarkets.h"
#include "XRNewsFeedLoader.h"
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

} // namespace
