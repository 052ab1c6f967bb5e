#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class XRStatusBar;
class XRViewController;

// The application's one window: a 320 x 480 point phone screen with the status
// bar on top and the root screen below it. Modal screens, the loading splash,
// alerts and slide-up panels are placed over it in window coordinates.
class XRWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int width = 320;
    static constexpr int height = 480;

    explicit XRWindow(QWidget *parent = nullptr);
    ~XRWindow() override;
    // The window the application shows; the latest one made.
    static XRWindow *mainWindow();

    XRStatusBar *statusBar() const { return m_statusBar; }
    // The root screen's view is loaded only when the window is made visible.
    void setRootViewController(XRViewController *controller) { m_root = controller; }
    XRViewController *rootViewController() const { return m_root; }
    // Puts the root screen's view into the window, shows the window and the root screen appears.
    void makeKeyAndVisible();
    // Work that the first frame does not need (network, position, pictures of
    // other screens): handed over while the window is first being shown, it
    // waits until the window has drawn; otherwise it runs at once. Work still
    // waiting when the window goes is dropped.
    void afterFirstFrame(std::function<void()> work);

    void presentModal(XRViewController *controller, bool animated);
    void dismissModal(XRViewController *controller, bool animated);

protected:
    // Escape no control took: the screen on top goes back or cancels.
    void keyPressEvent(QKeyEvent *event) override;
    // Tab stays in a modal screen, away from the screens it covers.
    bool focusNextPrevChild(bool next) override;

private:
    enum class FirstFrame { NotShown, Pending, Drawn };

    bool eventFilter(QObject *watched, QEvent *event) override;
    void firstFrameDrawn();

    XRStatusBar *m_statusBar;
    XRViewController *m_root = nullptr;
    QList<XRViewController *> m_modals;
    FirstFrame m_firstFrame = FirstFrame::NotShown;
    std::vector<std::function<void()>> m_afterFirstFrame;
    // For each modal screen, where the keyboard was before it came.
    QList<QPointer<QWidget>> m_focusBeforeModals;
};
