// Start-up benchmark. Prints, measured in one run (medians of several runs):
//   startup-bare-first-paint-ms   a bare Qt Widgets window of 320 x 480, process start to first paint
//   startup-app-first-paint-ms    the application, process start to the currency screen's first paint
//   startup-first-paint-ratio     the two above; the goal is 1.5 at most
//   startup-rates-on-screen-ms    process start until the first paint that shows the demo service's rates
//   startup-app-rss-kb            the application's resident memory high-water mark once the rates are shown
//   startup-bare-rss-kb           the bare window's, after its first paint
// Each child process runs offscreen with fresh data and configuration folders.

#include "XRConfiguration.h"
#include "XRCurrencyView.h"
#include "XRLauncher.h"
#include "XRLocalizedString.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int runs = 7;

// The resident memory high-water mark of this process, in kB.
long peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void report(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// Watches every paint inside one widget. The first paint is the first frame;
// the first paint after the rates were parsed is the one that shows them,
// whichever of the two comes first. Once both are seen it reports the memory
// high-water mark and quits.
class PaintWatch : public QObject
{
public:
    PaintWatch(QWidget *watched, bool waitForRates)
        : m_watched(watched)
        , m_ratesSeen(!waitForRates)
    {
        qApp->installEventFilter(this);
    }
    void ratesParsed()
    {
        m_ratesParsed = true;
        m_watched->update();
    }
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(object);
        if (event->type() == QEvent::Paint && widget && (widget == m_watched || m_watched->isAncestorOf(widget))) {
            if (!m_painted) {
                m_painted = true;
                report("painted");
            }
            if (m_ratesParsed && !m_ratesSeen) {
                m_ratesSeen = true;
                report("rates");
            }
            if (m_ratesSeen && !m_finished) {
                m_finished = true;
                // After the frame in hand is done.
                QTimer::singleShot(0, [] {
                    std::printf("rss %ld\n", peakResidentKilobytes());
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            }
        }
        return QObject::eventFilter(object, event);
    }

private:
    QWidget *m_watched;
    bool m_painted = false;
    bool m_ratesParsed = false;
    bool m_ratesSeen;
    bool m_finished = false;
};

int runBareChild(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(XRWindow::width, XRWindow::height);
    PaintWatch watch(&window, false);
    window.show();
    return application.exec();
}

int runAppChild(int argc, char **argv, const QString &configPath)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vaxlo"));
    const std::optional<XRConfiguration> configuration = XRConfiguration::fromFile(configPath);
    if (!configuration)
        return 1;
    xr::installTranslations(xr::translationLanguageForDevice());
    XRLauncher launcher(*configuration);
    launcher.launch();
    auto *view = launcher.window()->findChild<XRCurrencyView *>();
    if (!view)
        return 1;
    PaintWatch watch(view, true);
    // Registered after the screen's own observer, so the screen has taken the rates when it runs.
    XRNotificationCenter::defaultCenter().addObserver(&watch, XRCurrenciesDidEndParsingNotification,
                                                      [&watch](const XRNotification &) { watch.ratesParsed(); });
    return application.exec();
}

#ifdef XR_DEMO_PATH
struct ChildRun
{
    // Milliseconds from the child's start until it reported each event, by name.
    QHash<QString, double> times;
    long peakResidentKilobytes = 0;
};

// Runs one child until it has reported every event, in whatever order, and
// its memory high-water mark; nothing when it stops or stalls first.
std::optional<ChildRun> runChild(const QStringList &arguments, const QStringList &events)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vaxlo.*=false"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    ChildRun run;
    while (run.times.size() < events.size() || run.peakResidentKilobytes == 0) {
        if (!child.canReadLine() && !child.waitForReadyRead(30000)) {
            child.kill();
            child.waitForFinished(5000);
            return std::nullopt;
        }
        while (child.canReadLine()) {
            const QString line = QString::fromUtf8(child.readLine()).trimmed();
            if (line.startsWith(QLatin1String("rss ")))
                run.peakResidentKilobytes = line.mid(4).toLong();
            else if (events.contains(line) && !run.times.contains(line))
                run.times.insert(line, double(clock.nsecsElapsed()) / 1e6);
        }
    }
    child.waitForFinished(10000);
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int runDriver()
{
    QTemporaryDir workspace;
    const QString config = workspace.filePath(QStringLiteral("demo.conf"));
    QProcess demo;
    demo.start(QStringLiteral(XR_DEMO_PATH),
               {QStringLiteral("--port-base"), QStringLiteral("0"), QStringLiteral("--quiet"),
                QStringLiteral("--data-dir"), workspace.filePath(QStringLiteral("demo")),
                QStringLiteral("--write-config"), config,
                // As the run command does: the position is replayed, not asked of the desktop.
                QStringLiteral("--location"), QStringLiteral(XR_DEMO_WALK)});
    // The service writes the configuration once it listens.
    while (!QFile::exists(config) || QFile(config).size() == 0) {
        if (!demo.waitForReadyRead(30000)) {
            std::fprintf(stderr, "bench_startup: the demo service did not start\n");
            return 1;
        }
        demo.readAll();
    }

    std::vector<double> bare, appPaint, rates, bareMemory, appMemory;
    for (int i = 0; i < runs; ++i) {
        const auto bareRun = runChild({QStringLiteral("--child"), QStringLiteral("bare")}, {QStringLiteral("painted")});
        const auto appRun = runChild({QStringLiteral("--child"), QStringLiteral("app"), config},
                                     {QStringLiteral("painted"), QStringLiteral("rates")});
        if (!bareRun || !appRun) {
            std::fprintf(stderr, "bench_startup: a child stopped before it reported\n");
            return 1;
        }
        bare.push_back(bareRun->times.value(QStringLiteral("painted")));
        bareMemory.push_back(double(bareRun->peakResidentKilobytes));
        appPaint.push_back(appRun->times.value(QStringLiteral("painted")));
        rates.push_back(appRun->times.value(QStringLiteral("rates")));
        appMemory.push_back(double(appRun->peakResidentKilobytes));
    }
    demo.terminate();
    demo.waitForFinished(5000);

    std::printf("startup-bare-first-paint-ms: %.1f\n", median(bare));
    std::printf("startup-app-first-paint-ms: %.1f\n", median(appPaint));
    std::printf("startup-first-paint-ratio: %.2f\n", median(appPaint) / median(bare));
    std::printf("startup-rates-on-screen-ms: %.1f\n", median(rates));
    std::printf("startup-app-rss-kb: %.0f\n", median(appMemory));
    std::printf("startup-bare-rss-kb: %.0f\n", median(bareMemory));
    return 0;
}
#else
int runDriver()
{
    std::fprintf(stderr, "bench_startup: built without the demo service\n");
    return 1;
}
#endif

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0) {
        if (qstrcmp(argv[2], "bare") == 0)
            return runBareChild(argc, argv);
        if (qstrcmp(argv[2], "app") == 0 && argc >= 4)
            return runAppChild(argc, argv, QString::fromLocal8Bit(argv[3]));
        return 2;
    }
    QCoreApplication application(argc, argv);
    return runDriver();
}
