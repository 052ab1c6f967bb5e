#pragma once

#include <QRect>
#include <QString>

#include <functional>

// What the application delegate needs of the window: the loading splash, the
// one network alert, the status bar and showing the window. The screens
// implement it; logic tests use a recording one.
class XRAppShell
{
public:
    virtual ~XRAppShell() = default;
    // Adds a loading splash with the frame (window coordinates) above everything.
    virtual void showLoadingSplash(const QRect &frame) = 0;
    virtual void removeLoadingSplash() = 0;
    // A non-blocking alert with a single cancel button.
    virtual void showAlert(const QString &title, const QString &message, const QString &cancelButtonTitle) = 0;
    virtual void setStatusBarStyle(int style) = 0;
    virtual void makeKeyAndVisible() = 0;
    // Runs work that the window's first frame does not need once it is drawn.
    virtual void afterFirstFrame(std::function<void()> work) = 0;
};
