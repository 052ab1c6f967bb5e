#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class XRNavigationController;
class XRTabBarController;
class XRWindow;

// A bar button of a navigation bar: a title and what pressing it does.
struct XRBarButtonItem
{
    QString title;
    std::function<void()> action;
    QString objectName;
};

// A screen controller: loads its view on first use and receives the
// appearance events in the platform's order (will appear, did appear, will
// disappear, did disappear) from the container that shows it.
class XRViewController : public QObject
{
    Q_OBJECT
public:
    explicit XRViewController(QObject *parent = nullptr);
    ~XRViewController() override;

    // The view, loaded (loadView, then viewDidLoad) on first use.
    QWidget *view();
    // The view, loaded if need be, as a child of the container that shows it.
    QWidget *viewIn(QWidget *container);
    bool isViewLoaded() const { return m_view != nullptr; }
    // Drops the view and calls viewDidUnload.
    void unloadView();

    QString title() const { return m_title; }
    void setTitle(const QString &title);

    // The tab bar entry of the screen.
    QString tabBarTitle() const { return m_tabBarTitle.isEmpty() ? m_title : m_tabBarTitle; }
    void setTabBarItem(const QString &title, const QIcon &icon);
    QIcon tabBarIcon() const { return m_tabBarIcon; }

    // The navigation bar entries shown while the screen is on top of a navigation stack.
    void setLeftBarButtonItem(const XRBarButtonItem &item);
    void setRightBarButtonItem(const XRBarButtonItem &item);
    const XRBarButtonItem &leftBarButtonItem() const { return m_leftItem; }
    const XRBarButtonItem &rightBarButtonItem() const { return m_rightItem; }

    XRNavigationController *navigationController() const;
    XRTabBarController *tabBarController() const;
    XRViewController *parentViewController() const { return m_parent; }
    void setParentViewController(XRViewController *parent) { m_parent = parent; }

    // Shows the controller over the whole window until dismissed.
    void presentModalViewController(XRViewController *controller, bool animated);
    void dismissModalViewController(bool animated);
    XRViewController *modalViewController() const { return m_modal; }

    // Containers bracket every appearance and disappearance with these two
    // calls; they send the will and did events and keep isVisible() true.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition(bool appearing, bool animated);
    bool isVisible() const { return m_visible; }

    // What Escape does on the screen: goes back or cancels as its back, Cancel or
    // Done button would; false when the screen has nowhere to go back to.
    // Containers hand it to the child on screen first.
    virtual bool goBack();

    // Appearance events; subclasses extend them. A container's events reach its
    // visible child after its own.
    virtual void viewWillAppear(bool animated) { Q_UNUSED(animated); }
    virtual void viewDidAppear(bool animated) { Q_UNUSED(animated); }
    virtual void viewWillDisappear(bool animated) { Q_UNUSED(animated); }
    virtual void viewDidDisappear(bool animated) { Q_UNUSED(animated); }

Q_SIGNALS:
    void navigationItemChanged();

protected:
    // The child on screen while this controller is; containers name theirs.
    virtual XRViewController *visibleChildViewController() const { return nullptr; }
    // Makes the view; the default is an empty white view.
    virtual QWidget *loadView();
    // The style of the screen's view, applied once the loaded view is in its
    // container: a styled view that moves is styled all over again.
    void setViewStyleSheet(const char *styleSheet) { m_viewStyleSheet = styleSheet; }
    virtual void viewDidLoad() {}
    virtual void viewDidUnload() {}

private:
    QPointer<QWidget> m_view;
    const char *m_viewStyleSheet = nullptr;
    QString m_title;
    QString m_tabBarTitle;
    QIcon m_tabBarIcon;
    XRBarButtonItem m_leftItem;
    XRBarButtonItem m_rightItem;
    XRViewController *m_parent = nullptr;
    XRViewController *m_modal = nullptr;
    XRViewController *m_presenter = nullptr;
    bool m_visible = false;
};
