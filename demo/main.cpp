// vaxlo-demo: the demo retailer service for the application, on loopback.

#include "AppConfig.h"
#include "DemoService.h"
#include "Market.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <mutex>
#include <pthread.h>

namespace {

void printLine(FILE *stream, const QString &line)
{
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stream);
}

int fail(const QString &message)
{
    printLine(stderr, QStringLiteral("vaxlo-demo: ") + message);
    return 1;
}

QString startupLine(const xr::demo::DemoService &service)
{
    QStringList parts{QStringLiteral("vaxlo-demo:")};
    for (const xr::demo::Market &market : xr::demo::Market::all())
        parts << market.code << QStringLiteral("http://") + service.marketAddress(market.code);
    parts << QStringLiteral("reservations") << QStringLiteral("https://") + service.reservationAddress()
          << QStringLiteral("(CA %1)").arg(service.caCertificate());
    return parts.join(QLatin1Char(' '));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vaxlo-demo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(XR_APP_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The demo retailer service: rates, stores and news for SE, DK, NO and FI over HTTP, "
        "and reservations over HTTPS, all on 127.0.0.1."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QStringLiteral("Folder for the certificates."),
                                     QStringLiteral("DIR"),
                                     QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                         + QStringLiteral("/vaxlo-demo"));
    const QCommandLineOption portBase(QStringLiteral("port-base"),
                                      QStringLiteral("SE, DK, NO, FI listen on N..N+3, reservations on N+4; "
                                                     "0 lets the system pick each port."),
                                      QStringLiteral("N"), QStringLiteral("8081"));
    const QCommandLineOption oldRates(QStringLiteral("old-rates"), QStringLiteral("Serve rates two days old."));
    const QCommandLineOption writeConfig(QStringLiteral("write-config"),
                                         QStringLiteral("Write the application's configuration to FILE."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption location(QStringLiteral("location"),
                                      QStringLiteral("Have the application replay the NMEA FILE as its position."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("Do not print a line per request."));
    parser.addOptions({dataDir, portBase, oldRates, writeConfig, location, quiet});
    parser.process(app);

    bool numeric = false;
    const int base = parser.value(portBase).toInt(&numeric);
    if (!numeric || base < 0 || base > 65531)
        return fail(QStringLiteral("--port-base takes 0 or a port from 1 to 65531"));

    // Signals are taken by sigwait() below; blocked before any thread exists,
    // so that no server thread receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    xr::demo::DemoOptions options;
    options.dataDir = QDir(parser.value(dataDir)).absolutePath();
    options.portBase = base;
    options.oldRates = parser.isSet(oldRates);
    if (!parser.isSet(quiet))
        options.log = [](const QString &line) { printLine(stdout, line); };

    xr::demo::DemoService service(options);
    QString error;
    if (!service.start(error))
        return fail(error);
    printLine(stdout, startupLine(service));

    const QByteArray config = xr::demo::AppConfig::render(service, parser.value(location));
    if (parser.isSet(writeConfig)) {
        if (!xr::demo::AppConfig::write(parser.value(writeConfig), config, error))
            return fail(error);
        printLine(stdout, QStringLiteral("vaxlo-demo: application configuration written to %1")
                              .arg(QDir(parser.value(writeConfig)).absolutePath()));
    } else {
        printLine(stdout, QStringLiteral("vaxlo-demo: application configuration (--write-config FILE saves it):\n")
                              + QString::fromUtf8(config).trimmed());
    }

    int signal = 0;
    sigwait(&stopSignals, &signal);
    printLine(stdout, QStringLiteral("vaxlo-demo: stopping"));
    service.stop();
    return 0;
}
