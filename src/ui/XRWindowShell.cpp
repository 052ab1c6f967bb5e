#include "XRWindowShell.h"

#include "XRAlertView.h"
#include "XRApplication.h"
#include "XRLoadingSplashView.h"
#include "XRStatusBar.h"
#include "XRWindow.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace {

// Web addresses always open in the browser; other schemes ("tel:") only
// where the desktop names a handler for them.
bool desktopCanOpen(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return true;
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (scheme.isEmpty() || xdgMime.isEmpty())
        return false;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("x-scheme-handler/") + scheme});
    return query.waitForFinished(2000) && !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

XRWindowShell::XRWindowShell(XRWindow *window)
    : m_window(window)
{
    XRApplication &application = XRApplication::sharedApplication();
    application.setNetworkActivityIndicatorHandler(
        [window](bool visible) { window->statusBar()->setNetworkActivityIndicatorVisible(visible); });
    application.setURLHandlers([](const QUrl &url) { return QDesktopServices::openUrl(url); }, desktopCanOpen);
}

XRWindowShell::~XRWindowShell()
{
    XRApplication::sharedApplication().setNetworkActivityIndicatorHandler({});
    delete m_splash;
}

XRLoadingSplashView *XRWindowShell::loadingSplash() const
{
    return m_splash;
}

void XRWindowShell::showLoadingSplash(const QRect &frame)
{
    delete m_splash;
    m_splash = new XRLoadingSplashView(frame, m_window);
    m_splash->show();
    m_splash->raise();
}

void XRWindowShell::removeLoadingSplash()
{
    delete m_splash;
}

void XRWindowShell::showAlert(const QString &title, const QString &message, const QString &cancelButtonTitle)
{
    (new XRAlertView(title, message, nullptr, cancelButtonTitle))->show();
}

void XRWindowShell::setStatusBarStyle(int style)
{
    m_window->statusBar()->setStyle(style);
}

void XRWindowShell::makeKeyAndVisible()
{
    m_window->makeKeyAndVisible();
}

void XRWindowShell::afterFirstFrame(std::function<void()> work)
{
    m_window->afterFirstFrame(std::move(work));
}
