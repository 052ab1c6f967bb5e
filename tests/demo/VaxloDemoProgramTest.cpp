#include "DemoTestHelpers.h"

#include "EventLoop.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <httplib.h>

#include <gtest/gtest.h>

using namespace xr::demo::test;

namespace {

const QRegularExpression startupLine(QStringLiteral(
    "^vaxlo-demo: SE http://127\\.0\\.0\\.1:(\\d+) DK http://127\\.0\\.0\\.1:(\\d+) NO http://127\\.0\\.0\\.1:(\\d+) "
    "FI http://127\\.0\\.0\\.1:(\\d+) reservations https://127\\.0\\.0\\.1:(\\d+) \\(CA (.+)\\)$"));

// Reads the program's output until it holds `marker`.
bool readUntil(QProcess &process, QByteArray &output, const QByteArray &marker)
{
    return xr::test::waitUntil([&] {
        output += process.readAllStandardOutput();
        return output.contains(marker) || process.state() == QProcess::NotRunning;
    }) && output.contains(marker);
}

} // namespace

TEST(VaxloDemoProgram, PrintsItsAddressesWritesTheConfigurationLogsRequestsAndStopsOnSigterm)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config/vaxlo.ini"));
    QProcess process;
    process.start(QStringLiteral(XR_DEMO_PATH), {QStringLiteral("--port-base"), QStringLiteral("0"),
                                                 QStringLiteral("--write-config"), config});
    QByteArray output;
    ASSERT_TRUE(readUntil(process, output, "configuration written to")) << output.toStdString()
                                                                        << process.readAllStandardError().toStdString();

    // The certificates are kept in the user's data folder.
    const QRegularExpressionMatch line = startupLine.match(QString::fromUtf8(output).section(QLatin1Char('\n'), 0, 0));
    ASSERT_TRUE(line.hasMatch()) << output.toStdString();
    EXPECT_EQ(line.captured(6), qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/vaxlo-demo/ca.pem"));
    EXPECT_TRUE(QFile::exists(line.captured(6)));

    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString expected = QStringLiteral("[markets]\nSE=127.0.0.1:%1\nDK=127.0.0.1:%2\nNO=127.0.0.1:%3\nFI=127.0.0.1:%4\n"
                                            "[reservation]\nhost=127.0.0.1:%5\nca=%6\n"
                                            "[maps]\ntiles=\ndirections=\n[location]\nsource=system\n")
                                 .arg(line.captured(1), line.captured(2), line.captured(3), line.captured(4),
                                      line.captured(5), line.captured(6));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), expected);

    httplib::Client sweden("127.0.0.1", line.captured(1).toInt());
    ASSERT_TRUE(sweden.Get("/aktuellt.rss"));
    EXPECT_TRUE(readUntil(process, output, "SE GET /aktuellt.rss 200")) << "one line per request";

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE((output + process.readAllStandardOutput()).contains("vaxlo-demo: stopping"));
}
