#include "EventLoop.h"
#include "LoopbackServer.h"
#include "XRAppDelegate.h"
#include "XRDataFiles.h"
#include "XRLauncher.h"
#include "XRPickerPanel.h"
#include "XRQuitOnSignals.h"
#include "XRUserDefaults.h"
#include "XRWindow.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace {

using xr::test::LoopbackServer;

// An environment with no display of any kind and private folders under `home`.
QProcessEnvironment noDisplay(const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    return environment;
}

TEST(VaxloProgram, HelpAndVersionPrintAndExitWithoutADisplay)
{
    const struct
    {
        const char *program;
        const char *name;
    } programs[] = {
        {XR_VAXLO_PATH, "vaxlo"},
#ifdef XR_DEMO_PATH
        {XR_DEMO_PATH, "vaxlo-demo"},
#endif
    };
    QTemporaryDir home;
    for (const auto &p : programs) {
        for (const auto &[option, expected] : {std::pair{"--help", QByteArray("Usage: ")},
                                               std::pair{"--version", QByteArray(p.name) + " " XR_APP_VERSION "\n"}}) {
            SCOPED_TRACE(testing::Message() << p.name << " " << option);
            QProcess process;
            process.setProcessEnvironment(noDisplay(home.path()));
            process.start(QString::fromLatin1(p.program), {QString::fromLatin1(option)});
            ASSERT_TRUE(process.waitForFinished(30000));
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
            const QByteArray out = process.readAllStandardOutput();
            EXPECT_TRUE(out.startsWith(expected)) << out.constData();
        }
    }
}

// The converter's state, as a pick in an earlier run left it, in the XML form
// that the application reads but never writes.
const QByteArray pickedCurrencyFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
    "<key>amount</key><string>250</string><key>transType</key><string>sell</string>"
    "<key>currentCurrency</key><dict><key>swift_code</key><string>NOK</string>"
    "<key>swift_name</key><string>Norska Kronor</string><key>sell_cash</key><string>1.2</string>"
    "<key>buy_cash</key><string>1.1</string><key>multiply</key><string>1</string>"
    "<key>base_swift</key><string>SEK</string></dict></dict></plist>\n";

// A logout or `kill` ends the application as quitting does: what it holds is
// written, so the next start finds the pick it had.
TEST(VaxloProgram, SigtermWritesTheCurrencyStateAsAQuitDoes)
{
    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("data/vaxlo"));
    ASSERT_TRUE(QDir().mkpath(documents));
    QFile currency(documents + QStringLiteral("/currency.vaxlodata"));
    ASSERT_TRUE(currency.open(QIODevice::WriteOnly));
    currency.write(pickedCurrencyFile);
    currency.close();
    const std::optional<QVariant> picked = XRDataFiles(documents).applicationPlistFromFile(QStringLiteral("currency.vaxlodata"));
    ASSERT_TRUE(picked);

    // Every market is down, so nothing the application loads rewrites the file.
    LoopbackServer market;
    market.setDefaultResponse({.status = 503, .body = "<html><body>Service Unavailable</body></html>"});
    const QString host = QStringLiteral("127.0.0.1:%1").arg(market.port());
    const QString config = home.filePath(QStringLiteral("vaxlo.ini"));
    QFile configFile(config);
    ASSERT_TRUE(configFile.open(QIODevice::WriteOnly));
    configFile.write(QStringLiteral("[markets]\nSE=%1\nDK=%1\nNO=%1\nFI=%1\n[reservation]\nhost=%1\n"
                                    "[location]\nsource=system\n")
                         .arg(host)
                         .toUtf8());
    configFile.close();

    QProcess vaxlo;
    QProcessEnvironment environment = noDisplay(home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    vaxlo.setProcessEnvironment(environment);
    vaxlo.start(QStringLiteral(XR_VAXLO_PATH), {QStringLiteral("--config"), config});
    // The currency screen asks for rates once the window is up.
    ASSERT_TRUE(xr::test::waitUntil([&] {
        for (const xr::test::ReceivedRequest &request : market.requests()) {
            if (request.target.startsWith("/ratesxml.asp"))
                return true;
        }
        return vaxlo.state() == QProcess::NotRunning;
    }));
    ASSERT_EQ(vaxlo.state(), QProcess::Running) << vaxlo.readAllStandardError().constData();
    ::kill(pid_t(vaxlo.processId()), SIGTERM);
    ASSERT_TRUE(vaxlo.waitForFinished(30000));
    EXPECT_EQ(vaxlo.exitStatus(), QProcess::NormalExit) << "ended by the signal, not by quitting";
    EXPECT_EQ(vaxlo.exitCode(), 0);

    ASSERT_TRUE(currency.open(QIODevice::ReadOnly));
    EXPECT_TRUE(currency.readAll().startsWith("bplist00")) << "written on the way out";
    const std::optional<QVariant> restarted =
        XRDataFiles(documents).applicationPlistFromFile(QStringLiteral("currency.vaxlodata"));
    ASSERT_TRUE(restarted);
    EXPECT_EQ(*restarted, *picked);
}

// The pick itself, made with the real buttons of the launched application: it
// lives only in memory until the application quits, here on SIGTERM.
TEST(VaxloProgram, APickMadeBeforeSigtermIsThereAfterARestart)
{
    XRUserDefaults::standardUserDefaults().setObject(0, QStringLiteral("language"));
    LoopbackServer market;
    market.route(QStringLiteral("/ratesxml.asp"),
                 {.body = "<rates><timestamp>2026-12-06 09:00</timestamp>"
                          "<row><swift_code>USD</swift_code><swift_name>US DOLLAR</swift_name><buy_cash>8,10</buy_cash>"
                          "<sell_cash>8,50</sell_cash><multiply>1</multiply><base_swift>SEK</base_swift></row>"
                          "<row><swift_code>NOK</swift_code><swift_name>NORSKA KRONOR</swift_name><buy_cash>0,95</buy_cash>"
                          "<sell_cash>1,05</sell_cash><multiply>1</multiply><base_swift>SEK</base_swift></row></rates>"});
    XRConfiguration configuration;
    const QString host = QStringLiteral("127.0.0.1:%1").arg(market.port());
    configuration.marketHosts = {host, host, host, host};
    {
        XRQuitOnSignals quitOnSignals;
        XRLauncher launcher(configuration);
        launcher.launch();
        auto *pick = launcher.window()->findChild<QPushButton *>(QStringLiteral("pickCurrencyButton"));
        ASSERT_TRUE(pick);
        ASSERT_TRUE(xr::test::waitUntil([&] { return pick->isEnabled(); }));
        QTest::mouseClick(pick, Qt::LeftButton);
        auto *panel = launcher.window()->findChild<XRPickerPanel *>();
        ASSERT_TRUE(panel);
        auto *rows = panel->findChild<QListWidget *>();
        ASSERT_TRUE(rows && rows->count() == 2);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->item(1)).center());
        ASSERT_EQ(pick->text(), QStringLiteral("Norska Kronor, NOK"));

        ::kill(::getpid(), SIGTERM);
        EXPECT_EQ(QCoreApplication::exec(), 0);
    }
    XRAppDelegate restarted(configuration);
    const std::optional<QVariant> stored = restarted.applicationPlistFromFile(QStringLiteral("currency.vaxlodata"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->toMap().value(QStringLiteral("currentCurrency")).toMap().value(QStringLiteral("swift_code")),
              QStringLiteral("NOK"));
}

} // namespace
