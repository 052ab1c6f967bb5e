// Växlo: starts the application against the retailer named in the configuration.

#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRConfiguration.h"
#include "XRLocalizedString.h"
#include "XRMainInterface.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRTabBarController.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

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

    XRWindow window;
    XRWindowShell shell(&window);
    XRAppDelegate delegate(*configuration, &shell);
    XRApplication::sharedApplication().setDelegate(&delegate);
    window.setRootViewController(xr::makeMainTabBarController(&window));

    delegate.applicationDidFinishLaunching();

    // The desktop has no background state: leaving the application is when its
    // state is saved, and coming back to it is when it becomes active.
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, &application,
                     [&delegate](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             XRNotificationCenter::defaultCenter().postNotificationName(
                                 UIApplicationDidBecomeActiveNotification);
                         else if (state == Qt::ApplicationHidden || state == Qt::ApplicationSuspended)
                             delegate.applicationDidEnterBackground();
                     });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &application,
                     [&delegate] { delegate.applicationDidEnterBackground(); });

    const int status = application.exec();
    XRApplication::sharedApplication().setDelegate(nullptr);
    return status;
}
