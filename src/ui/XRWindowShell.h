#pragma once

#include "XRAppShell.h"

#include <QPointer>

class XRLoadingSplashView;
class XRWindow;

// The application shell on a real window: the loading splash over everything,
// the network alert as an alert view, the status bar style, and the shared
// application's activity indicator and URL opening wired to the desktop.
class XRWindowShell : public XRAppShell
{
public:
    explicit XRWindowShell(XRWindow *window);
    ~XRWindowShell() override;

    void showLoadingSplash(const QRect &frame) override;
    void removeLoadingSplash() override;
    void showAlert(const QString &title, const QString &message, const QString &cancelButtonTitle) override;
    void setStatusBarStyle(int style) override;
    void makeKeyAndVisible() override;
    void afterFirstFrame(std::function<void()> work) override;

    XRLoadingSplashView *loadingSplash() const;

private:
    XRWindow *m_window;
    QPointer<XRLoadingSplashView> m_splash;
};
