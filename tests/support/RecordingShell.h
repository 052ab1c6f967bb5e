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
    void removeLoadingSplash() override { splashShown = false; }
    void showAlert(const QString &title, const QString &message, const QString &cancelButtonTitle) override
    {
        alerts.append({title, message, cancelButtonTitle});
    }
    void setStatusBarStyle(int) override {}
    void makeKeyAndVisible() override {}
    void afterFirstFrame(std::function<void()> work) override { work(); }

    int splashShows = 0;
    bool splashShown = false;
    QRect lastSplashFrame;
    QList<Alert> alerts;
};

} // namespace xr::test
