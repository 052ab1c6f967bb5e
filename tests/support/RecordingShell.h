#pragma once

#include "XRAppShell.h"

#include <QList>
#include <QRect>
#include <QString>

namespace xr::test {

// An application shell without a window: it records what the delegate asked of it.
class RecordingShell : public XRAppShell
{
public:
    struct Alert
    {
        QString title;
        QString message;
        QString cancelButtonTitle;
    };

    void showLoadingSplash(const QRect &frame) override
    {
        ++splashShows;
        splashShown = true;
        lastSplashFrame = frame;
    }
    void removeLoadingSplash() override
    {
        ++splashRemovals;
        splashShown = false;
    }
    void showAlert(const QString &title, const QString &message, const QString &cancelButtonTitle) override
    {
        alerts.append({title, message, cancelButtonTitle});
    }
    void setStatusBarStyle(int style) override { statusBarStyle = style; }
    void makeKeyAndVisible() override { visible = true; }
    void afterFirstFrame(std::function<void()> work) override { work(); }

    int splashShows = 0;
    int splashRemovals = 0;
    bool splashShown = false;
    QRect lastSplashFrame;
    QList<Alert> alerts;
    int statusBarStyle = -1;
    bool visible = false;
};

} // namespace xr::test
