// Växlo: starts the application against the retailer named in the configuration.

#include "XRConfiguration.h"
#include "XRLauncher.h"
#include "XRLocalizedString.h"
#include "XRQuitOnSignals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

namespace {

// Help and version need no window system; a GUI application object aborts
// where there is no display.
bool asksForHelpOrVersion(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" || argument == "-v"
            || argument == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("vaxlo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(XR_APP_VERSION));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("The retailer's rates, stores, news and reservations."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption configOption(QStringLiteral("config"),
                                          QStringLiteral("Read the configuration from <file>."), QStringLiteral("file"),
                                          XRConfiguration::standardFilePath());
    options.addOption(configOption);
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication reader(argc, argv);
        options.process(reader); // prints and exits
    }

    QApplication application(argc, argv);
    options.process(application);

    QString error;
    const std::optional<XRConfiguration> configuration = XRConfiguration::fromFile(options.value(configOption), &error);
    if (!configuration) {
        QTextStream(stderr) << "vaxlo: " << error
                            << "\nWrite one with `vaxlo-demo --write-config FILE` or see README.md.\n";
        return 1;
    }

    xr::installTranslations(xr::translationLanguageForDevice());
    // From here on a logout or `kill` saves as quitting does.
    XRQuitOnSignals quitOnSignals;
    XRLauncher launcher(*configuration);
    launcher.launch();
    return application.exec();
}
