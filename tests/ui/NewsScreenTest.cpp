#include "AccessibilityAudit.h"
#include "EventLoop.h"
#include "LoopbackServer.h"
#include "Screenshots.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRLocalizedString.h"
#include "XRMainInterface.h"
#include "XRNavigationController.h"
#include "XRNewsStoryViewController.h"
#include "XRNewsViewController.h"
#include "XRTabBarController.h"
#include "XRUserDefaults.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A market's first story, and what its row and story screen show.
struct Market
{
    const char *language;
    int languageIndex;
    QString title;
    QString summary;
    QString tabTitle;
    QString published;
    QString readMore;
};

const Market markets[] = {
    {"sv", 0, QStringLiteral("Ny butik i Uppsala"),
     QStringLiteral("Vi har öppnat en ny butik på Kungsgatan i Uppsala. Välkommen in och växla valuta alla vardagar."),
     QStringLiteral("Nyheter"), QStringLiteral("Publicerad: 03 maj 14:07"), QStringLiteral("Läs mer")},
    {"da", 1, QStringLiteral("Ny butik i Aarhus"),
     QStringLiteral("Vi har åbnet en ny butik på Søndergade i Aarhus. Kom ind og veksl valuta alle hverdage."),
     QStringLiteral("Nyheder"), QStringLiteral("Udgivet: 03 maj 14:07"), QStringLiteral("Læs mere")},
};

void PrintTo(const Market &market, std::ostream *out)
{
    *out << market.language;
}

// The stories after the first have a link that is no address and one the desktop cannot open.
QByteArray feedOf(const Market &market)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><rss><channel><title>Vaxlo</title><item><title>" +
           market.title.toUtf8() + "</title><link>http://vaxlo.example/1.html</link><description>" +
           market.summary.toUtf8() + "</description><pubDate>2011-05-03 14:07:59</pubDate></item>"
           "<item><title>Trasig länk</title><link>inte en länk</link></item>"
           "<item><title>Okänd sorts länk</title><link>gopher://vaxlo.example/</link></item></channel></rss>";
}

// The application's tabs in the real window, the market on a loopback host,
// and URL opening recorded instead of reaching a browser.
class NewsScreenTest : public testing::TestWithParam<Market>
{
protected:
    void SetUp() override
    {
        XRUserDefaults::resetStandardUserDefaults();
        XRUserDefaults::standardUserDefaults().setObject(GetParam().languageIndex, QStringLiteral("language"));
        xr::installTranslations(QString::fromLatin1(GetParam().language));
        server.route(QStringLiteral("/aktuellt.rss"), {.body = feedOf(GetParam())});
        server.route(QStringLiteral("/ratesxml.asp"), {.body = "<rates><timestamp>2011-05-03 14:07</timestamp></rates>"});
        XRConfiguration configuration;
        const QString host = QStringLiteral("127.0.0.1:%1").arg(server.port());
        configuration.marketHosts = {host, host, host, host};
        shell = std::make_unique<XRWindowShell>(window.get());
        XRApplication::sharedApplication().setURLHandlers([this](const QUrl &url) { opened << url; return true; },
                                                          [](const QUrl &url) { return url.scheme() == QLatin1String("http"); });
        delegate = std::make_unique<XRAppDelegate>(configuration, shell.get());
        XRApplication::sharedApplication().setDelegate(delegate.get());
        tabs = xr::makeMainTabBarController(window.get());
        window->setRootViewController(tabs);
    }

    void TearDown() override
    {
        window.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        XRApplication::sharedApplication().setURLHandlers({}, {});
        xr::installTranslations(QStringLiteral("en"));
    }

    QString shot(const char *name) const { return QStringLiteral("news-%1-%2").arg(name, GetParam().language); }

    xr::test::LoopbackServer server;
    std::unique_ptr<XRWindow> window = std::make_unique<XRWindow>();
    std::unique_ptr<XRWindowShell> shell;
    std::unique_ptr<XRAppDelegate> delegate;
    XRTabBarController *tabs = nullptr;
    QList<QUrl> opened;
};

TEST_P(NewsScreenTest, TheListLoadsBehindTheSplashAndEachRowOpensItsStory)
{
    const Market &market = GetParam();
    shell->makeKeyAndVisible();
    EXPECT_EQ(tabs->tabButton(2)->text(), market.tabTitle);
    QTest::mouseClick(tabs->tabButton(2), Qt::LeftButton);
    auto *navigation = qobject_cast<XRNavigationController *>(tabs->selectedViewController());
    auto *list = qobject_cast<XRNewsViewController *>(navigation->topViewController());
    EXPECT_TRUE(delegate->isLoadingSplashShown()) << "the splash comes before the fetch";
    ASSERT_TRUE(xr::test::waitUntil([list] { return list->stories().size() == 3 && !list->isLoading(); }));
    EXPECT_FALSE(delegate->isLoadingSplashShown());

    const QList<XRTableViewCell *> rows = list->tableView()->visibleCells();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0]->textLabel()->text() + '|' + rows[0]->detailTextLabel()->text(), market.title + "|03 maj 14:07");
    EXPECT_EQ(rows[1]->textLabel()->text() + '|' + rows[1]->detailTextLabel()->text(), "Trasig länk|");
    EXPECT_EQ(xr::test::accessibilityProblems(window.get()), QStringList());
    xr::test::saveScreenshot(window.get(), shot("list"));

    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        QTest::mouseClick(list->tableView()->viewport(), Qt::LeftButton, {}, QPoint(100, row * 72 + 36));
        auto *story = qobject_cast<XRNewsStoryViewController *>(navigation->topViewController());
        ASSERT_TRUE(story);
        EXPECT_EQ(story->title(), rows[row]->textLabel()->text());
        QPushButton *readMore = story->readMoreButton();
        EXPECT_EQ(readMore->isVisible(), row == 0);
        if (row == 0) {
            EXPECT_EQ(QStringList({story->storyTV()->toPlainText(), story->storyPubLabel()->text(), readMore->text()}),
                      QStringList({market.summary, market.published, market.readMore}));
            EXPECT_LE(readMore->mapTo(window.get(), QPoint(0, readMore->height())).y(),
                      tabs->tabButton(0)->parentWidget()->mapTo(window.get(), QPoint(0, 0)).y())
                << "the button lies above the tab bar";
            xr::test::saveScreenshot(window.get(), shot("story"));
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

INSTANTIATE_TEST_SUITE_P(Markets, NewsScreenTest, testing::ValuesIn(markets),
                         [](const testing::TestParamInfo<Market> &info) { return std::string(info.param.language); });

} // namespace
