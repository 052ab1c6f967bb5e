#include "XRLauncher.h"

#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRMainInterface.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRTabBarController.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

#include <QGuiApplication>

XRLauncher::XRLauncher(const XRConfiguration &configuration)
    : m_window(std::make_unique<XRWindow>())
    , m_shell(std::make_unique<XRWindowShell>(m_window.get()))
    , m_delegate(std::make_unique<XRAppDelegate>(configuration, m_shell.get()))
{
    XRApplication::sharedApplication().setDelegate(m_delegate.get());
    m_window->setRootViewController(xr::makeMainTabBarController(m_window.get()));
}

XRLauncher::~XRLauncher()
{
    // The screens go before the delegate they refer to.
    m_window.reset();
    XRApplication::sharedApplication().setDelegate(nullptr);
}

void XRLauncher::launch()
{
    m_delegate->applicationDidFinishLaunching();

    // The desktop has no background state: leaving the application is when its
    // state is saved, and coming back to it is when it becomes active.
    XRAppDelegate *delegate = m_delegate.get();
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, m_window.get(),
                     [delegate](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             XRNotificationCenter::defaultCenter().postNotificationName(
                                 UIApplicationDidBecomeActiveNotification);
                         else if (state == Qt::ApplicationHidden || state == Qt::ApplicationSuspended)
                             delegate->applicationDidEnterBackground();
                     });
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, m_window.get(),
                     [delegate] { delegate->applicationDidEnterBackground(); });
}
