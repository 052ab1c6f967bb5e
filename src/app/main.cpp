// Växlo: starts the application against the retailer named in the configuration.

#include "XRConfiguration.h"
#include "XRLauncher.h"
#include "XRLocalizedString.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vaxlo"));
    QApplication::setApplicationVersion(QStringLiteral(XR_APP_VERSION));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("The retailer's rates, stores, news and reservations."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption configOption(QStringLiteral("config"),
                                          QStringLiteral("Read the configuration from <file>."), QStringLiteral("file"),
                                          XRConfiguration::standardFilePath());
    options.addOption(configOption);
    options.process(application);

    QString error;
    const std::optional<XRConfiguration> configuration = XRConfiguration::fromFile(options.value(configOption), &error);
    if (!configuration) {
        QTextStream(stderr) << "vaxlo: " << error
                            << "\nWrite one with `vaxlo-demo --write-config FILE` or see README.md.\n";
        return 1;
    }

    xr::installTranslations(xr::translationLanguageForDevice());
    XRLauncher launcher(*configuration);
    launcher.launch();
    return application.exec();
}
