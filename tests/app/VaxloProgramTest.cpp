#include "EventLoop.h"
#include "LoopbackServer.h"
#include "XRDataFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

namespace {

// The test's own private folders, which every test process has, and no display of any kind.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return environment;
}

TEST(VaxloProgram, HelpAndVersionPrintAndExitWithoutADisplay)
{
    const struct { QByteArray name; QString program; QByteArray help; } programs[] = {
        {"vaxlo", QStringLiteral(XR_VAXLO_PATH), "Usage: "},
        {"vaxlo-inspect", QStringLiteral(XR_INSPECT_PATH), "usage:\n  vaxlo-inspect "},
#ifdef XR_DEMO_PATH
        {"vaxlo-demo", QStringLiteral(XR_DEMO_PATH), "Usage: "},
#endif
    };
    for (const auto &[name, program, help] : programs) {
        for (const auto &[option, expected] : {std::pair{"--help", help},
                                               std::pair{"--version", name + " " XR_APP_VERSION "\n"}}) {
            SCOPED_TRACE(testing::Message() << name.constData() << " " << option);
            QProcess process;
            process.setProcessEnvironment(withoutDisplay());
            process.start(program, {QString::fromLatin1(option)});
            ASSERT_TRUE(process.waitForFinished(30000));
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
            EXPECT_TRUE(process.readAllStandardOutput().startsWith(expected));
            EXPECT_TRUE(process.readAllStandardError().isEmpty());
        }
    }
}

// A logout or `kill` ends the application as quitting does: the pick it holds
// is written (in the binary form, where the file held the XML form that the
// application reads but never writes), so the next start finds it.
TEST(VaxloProgram, SigtermWritesThePickItHoldsAsAQuitDoes)
{
    QTemporaryDir home;
    XRDataFiles files(home.filePath(QStringLiteral("data/vaxlo")));
    const QByteArray xmlPick = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                               "<key>amount</key><string>250</string><key>transType</key><string>sell</string>"
                               "<key>currentCurrency</key><dict><key>swift_code</key><string>NOK</string>"
                               "<key>sell_cash</key><string>1.2</string><key>multiply</key><string>1</string>"
                               "</dict></dict></plist>\n";
    ASSERT_TRUE(files.writeApplicationData(xmlPick, QStringLiteral("currency.vaxlodata")));
    const std::optional<QVariant> picked = files.applicationPlistFromFile(QStringLiteral("currency.vaxlodata"));
    ASSERT_TRUE(picked);

    // Every market is down, so nothing the application loads rewrites the file.
    xr::test::LoopbackServer market;
    market.setDefaultResponse({.status = 503, .body = "<html><body>Service Unavailable</body></html>"});
    const QString config = home.filePath(QStringLiteral("vaxlo.conf"));
    ASSERT_TRUE(XRDataFiles(home.path()).writeApplicationData(
        QStringLiteral("[markets]\nSE=%1\nDK=%1\nNO=%1\nFI=%1\n[reservation]\nhost=%1\n")
            .arg(QStringLiteral("127.0.0.1:%1").arg(market.port()))
            .toUtf8(),
        QStringLiteral("vaxlo.conf")));

    QProcess vaxlo;
    QProcessEnvironment environment = withoutDisplay();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    vaxlo.setProcessEnvironment(environment);
    vaxlo.start(QStringLiteral(XR_VAXLO_PATH), {QStringLiteral("--config"), config});
    // The currency screen asks for rates once the window is up.
    ASSERT_TRUE(xr::test::waitUntil([&] {
        const auto requests = market.requests();
        return vaxlo.state() == QProcess::NotRunning
            || std::any_of(requests.begin(), requests.end(), [](const auto &r) { return r.target.startsWith("/ratesxml"); });
    }));
    ASSERT_EQ(vaxlo.state(), QProcess::Running) << vaxlo.readAllStandardError().constData();
    ::kill(pid_t(vaxlo.processId()), SIGTERM);
    ASSERT_TRUE(vaxlo.waitForFinished(30000));
    EXPECT_EQ(vaxlo.exitStatus(), QProcess::NormalExit) << "ended by the signal, not by quitting";
    EXPECT_EQ(vaxlo.exitCode(), 0);

    EXPECT_TRUE(files.applicationDataFromFile(QStringLiteral("currency.vaxlodata")).value_or("").startsWith("bplist00"));
    EXPECT_EQ(files.applicationPlistFromFile(QStringLiteral("currency.vaxlodata")), picked);
}

} // namespace
