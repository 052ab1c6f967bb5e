#include "EventLoop.h"
#include "LaunchedApplication.h"
#include "LoopbackServer.h"
#include "Screenshots.h"
#include "XRCurrencyViewController.h"
#include "XRMainInterface.h"
#include "XRNavigationController.h"
#include "XRNewsStoryViewController.h"
#include "XRNewsViewController.h"

#include <QLabel>
#include <QScopeGuard>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString summary = QStringLiteral("Vi har öppnat en ny butik på Kungsgatan i Uppsala. Välkommen in och växla valuta alla vardagar.");

// The stories after the first have a link that is no address and one the desktop cannot open.
const QByteArray feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss><channel><title>Vaxlo</title><item><title>"
                        "Ny butik i Uppsala</title><link>http://vaxlo.example/1.html</link><description>" +
                        summary.toUtf8() + "</description><pubDate>2011-05-03 14:07:59</pubDate></item>"
                        "<item><title>Trasig länk</title><link>inte en länk</link></item>"
                        "<item><title>Okänd sorts länk</title><link>gopher://vaxlo.example/</link></item></channel></rss>";

// The application's tabs in Swedish against a loopback market, URL opening
// recorded instead of reaching a browser.
TEST(NewsScreen, TheListLoadsBehindTheSplashAndEachRowOpensItsStory)
{
    xr::test::LoopbackServer server;
    server.route(QStringLiteral("/aktuellt.rss"), {.body = feed});
    server.route(QStringLiteral("/ratesxml.asp"), {.body = "<rates><timestamp>2011-05-03 14:07</timestamp></rates>"});
    server.route(QStringLiteral("/branchesxml.aspx"),
                 {.body = "<branches><locations><location><id>SE.1</id><name>Växlo</name></location></locations></branches>"});
    xr::test::LaunchedApplication app;
    app.configuration.marketHosts.fill(QStringLiteral("127.0.0.1:%1").arg(server.port()));
    app.firstLaunch(0, QStringLiteral("sv"), [](XRWindow *window) { return xr::makeMainTabBarController(window); });
    QList<QUrl> opened;
    XRApplication::sharedApplication().setURLHandlers([&opened](const QUrl &url) { opened << url; return true; },
                                                      [](const QUrl &url) { return url.scheme() == QLatin1String("http"); });
    const auto handlers = qScopeGuard([] { XRApplication::sharedApplication().setURLHandlers({}, {}); });
    XRTabBarController *tabs = app.tabs;
    XRWindow *window = app.window.get();

    auto *rates = qobject_cast<XRCurrencyViewController *>(tabs->viewControllers().at(0));
    ASSERT_TRUE(xr::test::waitUntil([&] { return !rates->isLoading() && app.delegate->storesArray(); }));
    QTest::mouseClick(tabs->tabButton(2), Qt::LeftButton);
    auto *navigation = qobject_cast<XRNavigationController *>(tabs->selectedViewController());
    auto *list = qobject_cast<XRNewsViewController *>(navigation->topViewController());
    EXPECT_TRUE(app.delegate->isLoadingSplashShown()) << "the splash comes before the fetch";
    ASSERT_TRUE(xr::test::waitUntil([list] { return list->stories().size() == 3 && !list->isLoading(); }));
    EXPECT_FALSE(app.delegate->isLoadingSplashShown());

    const QList<XRTableViewCell *> rows = list->tableView()->visibleCells();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0]->textLabel()->text() + '|' + rows[0]->detailTextLabel()->text(), "Ny butik i Uppsala|03 maj 14:07");
    EXPECT_EQ(rows[1]->textLabel()->text() + '|' + rows[1]->detailTextLabel()->text(), "Trasig länk|");
    xr::test::saveScreenshot(window, QStringLiteral("news-list-sv"));

    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        QTest::mouseClick(list->tableView()->viewport(), Qt::LeftButton, {}, QPoint(100, row * 72 + 36));
        auto *story = qobject_cast<XRNewsStoryViewController *>(navigation->topViewController());
        ASSERT_TRUE(story);
        EXPECT_EQ(story->title(), rows[row]->textLabel()->text());
        QPushButton *readMore = story->readMoreButton();
        EXPECT_EQ(readMore->isVisible(), row == 0) << "only a link the desktop can open is offered";
        if (row == 0) {
            EXPECT_EQ(QStringList({story->storyTV()->toPlainText(), story->storyPubLabel()->text(), readMore->text()}),
                      QStringList({summary, QStringLiteral("Publicerad: 03 maj 14:07"), QStringLiteral("Läs mer")}));
            EXPECT_LE(readMore->mapTo(window, QPoint(0, readMore->height())).y(),
                      tabs->tabButton(0)->parentWidget()->mapTo(window, QPoint(0, 0)).y())
                << "the button lies above the tab bar";
            xr::test::saveScreenshot(window, QStringLiteral("news-story-sv"));
            QTest::mouseClick(readMore, Qt::LeftButton);
            EXPECT_EQ(opened, QList<QUrl>{QUrl(QStringLiteral("http://vaxlo.example/1.html"))});
        }
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("navigationLeftButton")), Qt::LeftButton);
        EXPECT_EQ(navigation->topViewController(), list);
    }
    const QList<xr::test::ReceivedRequest> requests = server.requests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(), [](const auto &r) { return r.target == "/aktuellt.rss"; }), 1)
        << "going back does not load again";
}

} // namespace
