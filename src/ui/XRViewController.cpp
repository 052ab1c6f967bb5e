#include "XRViewController.h"

#include "XRNavigationController.h"
#include "XRTabBarController.h"
#include "XRWindow.h"

XRViewController::XRViewController(QObject *parent)
    : QObject(parent)
{
}

XRViewController::~XRViewController()
{
    delete m_view;
}

QWidget *XRViewController::view()
{
    return viewIn(nullptr);
}

QWidget *XRViewController::viewIn(QWidget *container)
{
    if (!m_view) {
        m_view = loadView();
        if (container)
            m_view->setParent(container);
        if (m_viewStyleSheet)
            m_view->setStyleSheet(QString::fromLatin1(m_viewStyleSheet));
        viewDidLoad();
    } else if (container && m_view->parentWidget() != container) {
        m_view->setParent(container);
    }
    return m_view;
}

QWidget *XRViewController::loadView()
{
    auto *view = new QWidget;
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, Qt::white);
    view->setPalette(palette);
    view->resize(320, 460);
    return view;
}

void XRViewController::unloadView()
{
    if (!m_view)
        return;
    delete m_view;
    m_view = nullptr;
    viewDidUnload();
}

void XRViewController::setTitle(const QString &title)
{
    m_title = title;
    Q_EMIT navigationItemChanged();
}

void XRViewController::setTabBarItem(const QString &title, const QIcon &icon)
{
    m_tabBarTitle = title;
    m_tabBarIcon = icon;
}

void XRViewController::setLeftBarButtonItem(const XRBarButtonItem &item)
{
    m_leftItem = item;
    Q_EMIT navigationItemChanged();
}

void XRViewController::setRightBarButtonItem(const XRBarButtonItem &item)
{
    m_rightItem = item;
    Q_EMIT navigationItemChanged();
}

XRNavigationController *XRViewController::navigationController() const
{
    for (XRViewController *c = m_parent; c; c = c->m_parent) {
        if (auto *navigation = qobject_cast<XRNavigationController *>(c))
            return navigation;
    }
    return nullptr;
}

XRTabBarController *XRViewController::tabBarController() const
{
    for (XRViewController *c = m_parent; c; c = c->m_parent) {
        if (auto *tabs = qobject_cast<XRTabBarController *>(c))
            return tabs;
    }
    return nullptr;
}

void XRViewController::presentModalViewController(XRViewController *controller, bool animated)
{
    XRWindow *window = XRWindow::mainWindow();
    if (!controller || m_modal || !window)
        return;
    m_modal = controller;
    controller->m_presenter = this;
    controller->setParent(this);
    window->presentModal(controller, animated);
}

void XRViewController::dismissModalViewController(bool animated)
{
    // Sent to the presented controller, it dismisses itself through its presenter;
    // sent to a screen inside it (the root of a presented navigation bar), through its container.
    if (!m_modal && m_presenter) {
        m_presenter->dismissModalViewController(animated);
        return;
    }
    if (!m_modal && m_parent) {
        m_parent->dismissModalViewController(animated);
        return;
    }
    XRWindow *window = XRWindow::mainWindow();
    if (!m_modal || !window)
        return;
    XRViewController *modal = m_modal;
    m_modal = nullptr;
    modal->m_presenter = nullptr;
    window->dismissModal(modal, animated);
    modal->deleteLater();
}

void XRViewController::beginAppearanceTransition(bool appearing, bool animated)
{
    if (appearing) {
        view(); // a screen's view is loaded before it first appears
        viewWillAppear(animated);
    } else {
        viewWillDisappear(animated);
    }
    if (XRViewController *child = visibleChildViewController())
        child->beginAppearanceTransition(appearing, animated);
}

void XRViewController::endAppearanceTransition(bool appearing, bool animated)
{
    m_visible = appearing;
    if (appearing)
        viewDidAppear(animated);
    else
        viewDidDisappear(animated);
    if (XRViewController *child = visibleChildViewController())
        child->endAppearanceTransition(appearing, animated);
}

bool XRViewController::goBack()
{
    XRViewController *child = visibleChildViewController();
    return child && child->goBack();
}
