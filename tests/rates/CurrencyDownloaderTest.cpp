#include "VariantMapPrinter.h"
#include "EventLoop.h"
#include "LoopbackServer.h"
#include "RecordingShell.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyDownloader.h"
#include "XRLocalizedString.h"
#include "XRMarkets.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRUserDefaults.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <memory>

namespace {

using xr::test::LoopbackServer;
using xr::test::Response;

const QByteArray ratesPath = "/ratesxml.asp";

QByteArray ratesDocument()
{
    QFile file(QStringLiteral(XR_TEST_DATA_DIR "/rates-se.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int ratesRequests(const LoopbackServer &server)
{
    int count = 0;
    for (const auto &request : server.requests())
        count += request.target.startsWith(ratesPath);
    return count;
}

// A launched application whose market hosts are one loopback server, and a
// record of the rates notifications with what the downloader showed at each.
class CurrencyDownloaderTest : public testing::Test
{
protected:
    struct Event
    {
        QString name;
        bool busy;
        bool indicatorVisible;
        qsizetype alertsShown;
    };

    void SetUp() override
    {
        XRUserDefaults::resetStandardUserDefaults();
        QFile::remove(XRUserDefaults::standardUserDefaults().filePath());
        XRUserDefaults::resetStandardUserDefaults();
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        xr::installTranslations(QStringLiteral("en"));

        sweden.route(QStringLiteral("/branchesxml.aspx"), {}); // the launch's branch list: unchanged
        sweden.route(QString::fromLatin1(ratesPath), {.body = ratesDocument()});
        XRConfiguration configuration;
        configuration.marketHosts.fill(QStringLiteral("127.0.0.1:%1").arg(sweden.port()));
        appDelegate = std::make_unique<XRAppDelegate>(configuration, &shell);
        appDelegate->applicationDidFinishLaunching();
        appDelegate->setClock([this] { return now; });
        XRApplication::sharedApplication().setDelegate(appDelegate.get());
        downloader = std::make_unique<XRCurrencyDownloader>(appDelegate.get());

        for (const QString &name : {XRCurrenciesDidEndLoadingNotification, XRCurrenciesDidEndParsingNotification,
                                    XRCurrenciesDidFailLoadingNotification}) {
            XRNotificationCenter::defaultCenter().addObserver(this, name, [this](const XRNotification &note) {
                events.append({note.name, downloader->isBusy(),
                               XRApplication::sharedApplication().isNetworkActivityIndicatorVisible(),
                               shell.alerts.size()});
            });
        }
    }

    void TearDown() override
    {
        XRNotificationCenter::defaultCenter().removeObserver(this);
        downloader.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        appDelegate.reset();
        XRUserDefaults::resetStandardUserDefaults();
    }

    // One load, run until the downloader is idle again.
    void load()
    {
        events.clear();
        downloader->loadCurrenciesAndNotify();
        ASSERT_TRUE(downloader->isBusy());
        ASSERT_TRUE(xr::test::waitUntil([this] { return !downloader->isBusy(); }));
    }

    LoopbackServer sweden;
    xr::test::RecordingShell shell;
    std::unique_ptr<XRAppDelegate> appDelegate;
    std::unique_ptr<XRCurrencyDownloader> downloader;
    QDateTime now = QDateTime(QDate(2011, 5, 3), QTime(14, 7), Qt::UTC);
    QList<Event> events;
};

// Asked for twice in a row, and by observers of either outcome, who hear of
// it while the load is still busy: one transfer each time.
TEST_F(CurrencyDownloaderTest, LoadsAskedForWhileOneRunsAreIgnored)
{
    auto &center = XRNotificationCenter::defaultCenter();
    int reloads = 0;
    const auto reload = [&](const XRNotification &) {
        ++reloads;
        downloader->loadCurrenciesAndNotify();
    };
    center.addObserver(&reloads, XRCurrenciesDidEndParsingNotification, reload);
    center.addObserver(&reloads, XRCurrenciesDidFailLoadingNotification, reload);

    downloader->loadCurrenciesAndNotify();
    load();
    EXPECT_EQ(ratesRequests(sweden), 1);
    EXPECT_EQ(events.count(), 2);
    sweden.route(QString::fromLatin1(ratesPath), {.body = "<rates><row>"});
    load();
    center.removeObserver(&reloads);

    EXPECT_EQ(reloads, 2);
    EXPECT_EQ(ratesRequests(sweden), 2) << "an idle downloader loads again";
    EXPECT_FALSE(downloader->isBusy());
}

// Only a 2xx answer whose body parses replaces the rates. Any other ends the
// load as failed, the alert before the failure is announced, and the last
// good rates kept.
TEST_F(CurrencyDownloaderTest, OnlyAGoodStatusWithAWellFormedBodyReplacesTheRates)
{
    const QByteArray newRates = ratesDocument().replace("2011-05-03 14:07", "2011-05-04 09:00");
    const QByteArray broken = "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_code>USD</swift_code></rates>";
    const struct { Response response; bool replaces; } cases[] = {
        {{.status = 404, .body = newRates}, false},
        {{.status = 304}, false},
        {{.body = broken}, false},
        {{.body = newRates, .fault = Response::Fault::DropMidBody}, false},
        {{.body = newRates}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.response.status << " " << c.response.body.left(40).constData());
        sweden.route(QString::fromLatin1(ratesPath), {.body = ratesDocument()});
        load();
        const QVariantMap before = downloader->dataDict();
        sweden.route(QString::fromLatin1(ratesPath), c.response);
        now = now.addSecs(61); // past the alert's minute
        const qsizetype alertsBefore = shell.alerts.size();

        load();
        if (c.replaces) {
            ASSERT_EQ(events.size(), 2);
            EXPECT_EQ(events[0].name + u' ' + events[1].name,
                      XRCurrenciesDidEndLoadingNotification + u' ' + XRCurrenciesDidEndParsingNotification);
            for (const Event &event : events)
                EXPECT_TRUE(event.busy && event.indicatorVisible) << "observers see the load still running";
            EXPECT_NE(downloader->dataDict(), before);
            EXPECT_EQ(shell.alerts.size(), alertsBefore);
        } else {
            ASSERT_FALSE(events.isEmpty());
            EXPECT_EQ(events.last().name, XRCurrenciesDidFailLoadingNotification);
            EXPECT_EQ(events.size(), c.response.fault == Response::Fault::None ? 2 : 1) << "the body's arrival first";
            EXPECT_TRUE(events.last().busy);
            EXPECT_EQ(events.last().alertsShown, alertsBefore + 1) << "the alert comes before the notification";
            EXPECT_EQ(downloader->dataDict(), before);
        }
        EXPECT_FALSE(XRApplication::sharedApplication().isNetworkActivityIndicatorVisible());
    }
    const xr::test::ReceivedRequest request = sweden.requests().last();
    EXPECT_EQ(request.method + ' ' + request.target + ' ' + request.header("User-Agent") + ' ' + request.body,
              "GET /ratesxml.asp?id=520 " + xr::userAgent().toLatin1() + ' ');
}

} // namespace
