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

using xr::test::LoopbackServer;
using xr::test::waitUntil;

struct Story
{
    QString title;
    QString link;
    QString summary;
    QString pubDate;
};

struct Market
{
    const char *language;
    int languageIndex;
    QList<Story> stories;
    // What the list and the first story show.
    QString tabTitle;
    QString firstDateText;
    QString firstPublished;
    QString readMore;
};

// The four stories after the first try the read-more button: a link the
// desktop opens, none, text that is no address, a scheme nobody handles.
QList<Story> storiesOf(const QString &first, const QString &summary)
{
    return {{first, QStringLiteral("http://vaxlo.example/1.html"), summary, QStringLiteral("2011-05-03 14:07:59")},
            {QStringLiteral("Utan länk"), {}, QStringLiteral("-"), QStringLiteral("2011-12-24 09:05:00")},
            {QStringLiteral("Trasig länk"), QStringLiteral("inte en länk"), QStringLiteral("-"), {}},
            {QStringLiteral("Okänd sorts länk"), QStringLiteral("gopher://vaxlo.example/"), QStringLiteral("-"),
             QStringLiteral("2011-05-04 08:00:00")}};
}

const Market markets[] = {
    {"sv", 0, storiesOf(QStringLiteral("Ny butik i Uppsala"),
                        QStringLiteral("Vi har öppnat en ny butik på Kungsgatan i Uppsala. Välkommen in och växla "
                                       "valuta alla vardagar.")),
     QStringLiteral("Nyheter"), QStringLiteral("03 maj 14:07"), QStringLiteral("Publicerad: 03 maj 14:07"),
     QStringLiteral("Läs mer")},
    {"da", 1, storiesOf(QStringLiteral("Ny butik i Aarhus"),
                        QStringLiteral("Vi har åbnet en ny butik på Søndergade i Aarhus. Kom ind og veksl valuta alle "
                                       "hverdage.")),
     QStringLiteral("Nyheder"), QStringLiteral("03 maj 14:07"), QStringLiteral("Udgivet: 03 maj 14:07"),
     QStringLiteral("Læs mere")},
};

void PrintTo(const Market &market, std::ostream *out)
{
    *out << market.language;
}

QByteArray feedOf(const QList<Story> &stories)
{
    QByteArray items;
    for (const Story &story : stories) {
        items += "<item><title>" + story.title.toUtf8() + "</title>";
        if (!story.link.isEmpty())
            items += "<link>" + story.link.toUtf8() + "</link>";
        items += "<description>" + story.summary.toUtf8() + "</description><pubDate>" + story.pubDate.toUtf8() +
                 "</pubDate></item>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\"><channel><title>Vaxlo</title>\n" + items +
           "</channel></rss>";
}

// The real window with the application's tabs, the market on a loopback host,
// and URL opening recorded instead of reaching a browser.
class NewsScreenTest : public testing::TestWithParam<Market>
{
protected:
    void SetUp() override
    {
        XRUserDefaults::resetStandardUserDefaults();
        XRUserDefaults::standardUserDefaults().setObject(GetParam().languageIndex, QStringLiteral("language"));
        xr::installTranslations(QString::fromLatin1(GetParam().language));
        server.route(QStringLiteral("/aktuellt.rss"), {.body = feedOf(GetParam().stories)});
        // The currency tab shows first and loads its rates from the same host.
        server.route(QStringLiteral("/ratesxml.asp"), {.body = "<rates><timestamp>2011-05-03 14:07</timestamp></rates>"});
        XRConfiguration configuration;
        const QString host = QStringLiteral("127.0.0.1:%1").arg(server.port());
        configuration.marketHosts = {host, host, host, host};
        window = std::make_unique<XRWindow>();
        shell = std::make_unique<XRWindowShell>(window.get());
        XRApplication::sharedApplication().setURLHandlers(
            [this](const QUrl &url) { opened << url; return true; },
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
        shell.reset();
        delegate.reset();
        xr::installTranslations(QStringLiteral("en"));
    }

    XRNavigationController *navigation() const { return qobject_cast<XRNavigationController *>(tabs->viewControllers().at(1)); }
    XRNewsViewController *list() const { return qobject_cast<XRNewsViewController *>(navigation()->viewControllers().first()); }
    QString shot(const char *name) const { return QStringLiteral("news-%1-%2").arg(name, GetParam().language); }
    QPushButton *backButton() const { return window->findChild<QPushButton *>(QStringLiteral("navigationLeftButton")); }

    LoopbackServer server;
    std::unique_ptr<XRWindow> window;
    std::unique_ptr<XRWindowShell> shell;
    std::unique_ptr<XRAppDelegate> delegate;
    XRTabBarController *tabs = nullptr;
    QList<QUrl> opened;
};

TEST_P(NewsScreenTest, TheListLoadsBehindTheSplashAndEachRowOpensItsStory)
{
    const Market &market = GetParam();
    shell->makeKeyAndVisible();
    EXPECT_EQ(tabs->tabButton(1)->text(), market.tabTitle);
    QTest::mouseClick(tabs->tabButton(1), Qt::LeftButton);
    EXPECT_TRUE(delegate->isLoadingSplashShown()) << "the splash comes before the fetch";
    ASSERT_TRUE(waitUntil([this] { return !list()->stories().isEmpty() && !list()->isLoading(); }));
    EXPECT_FALSE(delegate->isLoadingSplashShown());

    XRTableView *table = list()->tableView();
    const QList<XRTableViewCell *> rows = table->visibleCells();
    ASSERT_EQ(rows.size(), market.stories.size());
    for (int row = 0; row < rows.size(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(rows[row]->textLabel()->text(), market.stories[row].title);
        EXPECT_EQ(rows[row]->height(), XRNewsViewController::rowHeight);
        auto *glass = rows[row]->findChild<QLabel *>(QStringLiteral("Vaxlo_glassigt"));
        ASSERT_TRUE(glass);
        EXPECT_EQ(glass->geometry(), QRect(0, 0, 320, 72));
        EXPECT_EQ(rows[row]->children().last(), glass) << "the glass lies over the texts";
    }
    EXPECT_EQ(rows[0]->detailTextLabel()->text(), market.firstDateText);
    EXPECT_EQ(rows[2]->detailTextLabel()->text(), QString()) << "a story without a date keeps its row";
    EXPECT_EQ(xr::test::accessibilityProblems(window.get()), QStringList());
    xr::test::saveScreenshot(window.get(), shot("list"));

    const bool readMoreShown[] = {true, false, false, false};
    for (int row = 0; row < rows.size(); ++row) {
        SCOPED_TRACE(row);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(100, row * 72 + 36));
        auto *story = qobject_cast<XRNewsStoryViewController *>(navigation()->topViewController());
        ASSERT_TRUE(story);
        EXPECT_EQ(story->title(), market.stories[row].title);
        EXPECT_EQ(story->storyTV()->toPlainText(), market.stories[row].summary);
        EXPECT_EQ(story->readMoreButton()->isVisible(), readMoreShown[row]);
        if (row == 0) {
            EXPECT_EQ(story->storyPubLabel()->text(), market.firstPublished);
            QPushButton *readMore = story->readMoreButton();
            EXPECT_EQ(readMore->text(), market.readMore);
            EXPECT_LE(readMore->mapTo(window.get(), QPoint(0, readMore->height())).y(),
                      tabs->tabButton(0)->parentWidget()->mapTo(window.get(), QPoint(0, 0)).y())
                << "the button lies above the tab bar";
            EXPECT_EQ(xr::test::accessibilityProblems(window.get()), QStringList());
            xr::test::saveScreenshot(window.get(), shot("story"));
            QTest::mouseClick(story->readMoreButton(), Qt::LeftButton);
            EXPECT_EQ(opened, QList<QUrl>{QUrl(market.stories[0].link)});
        }
        QTest::mouseClick(backButton(), Qt::LeftButton);
        EXPECT_EQ(navigation()->topViewController(), list());
        EXPECT_FALSE(table->indexPathForSelectedRow().has_value());
    }
    const QList<xr::test::ReceivedRequest> requests = server.requests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(), [](const auto &r) { return r.target == "/aktuellt.rss"; }), 1)
        << "going back does not load again";
}

INSTANTIATE_TEST_SUITE_P(Markets, NewsScreenTest, testing::ValuesIn(markets),
                         [](const testing::TestParamInfo<Market> &info) { return std::string(info.param.language); });

} // namespace
