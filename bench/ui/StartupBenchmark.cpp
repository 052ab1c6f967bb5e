// Start-up benchmark. Prints, measured in one run (medians of several runs):
//   startup-bare-first-paint-ms   a bare Qt Widgets window of 320 x 480, process start to first paint
//   startup-app-first-paint-ms    the application, process start to the currency screen's first paint
//   startup-first-paint-ratio     the two above; the goal is 1.5 at most
//   startup-rates-on-screen-ms    process start until the demo service's rates are on screen
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
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int runs = 7;

// Prints the line once the paint event it watches has been handled.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(const char *line, bool quit)
        : m_line(line)
        , m_quit(quit)
    {
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [this] {
                std::printf("%s\n", m_line);
                std::fflush(stdout);
                if (m_quit)
                    QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const char *m_line;
    bool m_quit;
    bool m_seen = false;
};

int runBareChild(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(XRWindow::width, XRWindow::height);
    FirstPaint painted("painted", true);
    window.installEventFilter(&painted);
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
    FirstPaint painted("painted", false);
    if (auto *view = launcher.window()->findChild<XRCurrencyView *>())
        view->installEventFilter(&painted);
    // Registered after the screen's own observer, so the rates are on screen when it runs.
    XRNotificationCenter::defaultCenter().addObserver(&painted, XRCurrenciesDidEndParsingNotification,
                                                      [](const XRNotification &) {
                                                          std::printf("rates\n");
                                                          std::fflush(stdout);
                                                          QCoreApplication::quit();
                                                      });
    return application.exec();
}

#ifdef XR_DEMO_PATH
// Milliseconds from the child's start until it printed each of the lines, or nothing.
std::optional<std::vector<double>> timeChild(const QStringList &arguments, const QStringList &lines)
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
    std::vector<double> times;
    while (times.size() < size_t(lines.size())) {
        if (!child.canReadLine() && !child.waitForReadyRead(30000))
            return std::nullopt;
        while (child.canReadLine() && times.size() < size_t(lines.size())) {
            if (QString::fromUtf8(child.readLine()).trimmed() == lines[qsizetype(times.size())])
                times.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
    }
    child.waitForFinished(10000);
    return times;
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

    std::vector<double> bare, appPaint, rates;
    for (int i = 0; i < runs; ++i) {
        const auto bareRun = timeChild({QStringLiteral("--child"), QStringLiteral("bare")}, {QStringLiteral("painted")});
        const auto appRun = timeChild({QStringLiteral("--child"), QStringLiteral("app"), config},
                                      {QStringLiteral("painted"), QStringLiteral("rates")});
        if (!bareRun || !appRun) {
            std::fprintf(stderr, "bench_startup: a child did not report\n");
            return 1;
        }
        bare.push_back(bareRun->at(0));
        appPaint.push_back(appRun->at(0));
        rates.push_back(appRun->at(1));
    }
    demo.terminate();
    demo.waitForFinished(5000);

    std::printf("startup-bare-first-paint-ms: %.1f\n", median(bare));
    std::printf("startup-app-first-paint-ms: %.1f\n", median(appPaint));
    std::printf("startup-first-paint-ratio: %.2f\n", median(appPaint) / median(bare));
    std::printf("startup-rates-on-screen-ms: %.1f\n", median(rates));
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
