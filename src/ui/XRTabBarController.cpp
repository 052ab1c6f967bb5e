#include "XRTabBarController.h"

#include <QButtonGroup>
#include <QToolButton>

namespace {
const char barStyle[] = "QWidget#tabBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                        " stop:0 #3a3a3a, stop:0.5 #1c1c1c, stop:1 #000000); }"
                        "QToolButton { color: #9a9a9a; font-size: 10px; font-weight: bold; border: none;"
                        " background: transparent; border-radius: 3px; }"
                        "QToolButton:checked { color: white; background: rgba(255, 255, 255, 40); }";
}

XRTabBarController::XRTabBarController(QObject *parent)
    : XRViewController(parent)
{
}

QWidget *XRTabBarController::loadView()
{
    QWidget *view = XRViewController::loadView();
    m_content = new QWidget(view);
    m_content->setObjectName(QStringLiteral("tabContent"));
    m_content->setGeometry(0, 0, 320, view->height() - barHeight);
    m_bar = new QWidget(view);
    m_bar->setObjectName(QStringLiteral("tabBar"));
    m_bar->setAttribute(Qt::WA_StyledBackground);
    m_bar->setStyleSheet(QString::fromLatin1(barStyle));
    m_bar->setGeometry(0, view->height() - barHeight, 320, barHeight);
    m_group = new QButtonGroup(view);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &XRTabBarController::setSelectedIndex);
    setViewControllers(m_controllers);
    return view;
}

void XRTabBarController::setViewControllers(const QList<XRViewController *> &controllers)
{
    m_controllers = controllers;
    for (XRViewController *controller : controllers) {
        controller->setParent(this);
        controller->setParentViewController(this);
    }
    if (!m_bar)
        return;
    qDeleteAll(m_buttons);
    m_buttons.clear();
    const int width = controllers.isEmpty() ? 320 : 320 / int(controllers.size());
    for (int i = 0; i < controllers.size(); ++i) {
        auto *button = new QToolButton(m_bar);
        button->setObjectName(QStringLiteral("tab%1").arg(i));
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIcon(controllers[i]->tabBarIcon());
        button->setIconSize(QSize(30, 30));
        button->setText(controllers[i]->tabBarTitle());
        button->setGeometry(i * width + 2, 2, width - 4, barHeight - 4);
        button->show();
        m_group->addButton(button, i);
        m_buttons.append(button);
    }
    m_selected = qBound(0, m_selected, int(controllers.size()) - 1);
    showSelected();
}

XRViewController *XRTabBarController::selectedViewController() const
{
    return m_controllers.value(m_selected, nullptr);
}

QToolButton *XRTabBarController::tabButton(int index) const
{
    return m_buttons.value(index, nullptr);
}

void XRTabBarController::setSelectedIndex(int index)
{
    if (index < 0 || index >= m_controllers.size())
        return;
    if (index == m_selected && m_content && selectedViewController()->isViewLoaded()
        && selectedViewController()->view()->parentWidget() == m_content) {
        showSelected();
        return;
    }
    XRViewController *previous = selectedViewController();
    XRViewController *next = m_controllers[index];
    const bool visible = isVisible();
    if (visible && previous)
        previous->beginAppearanceTransition(false, false);
    if (visible)
        next->beginAppearanceTransition(true, false);
    m_selected = index;
    if (previous && previous->isViewLoaded())
        previous->view()->hide();
    showSelected();
    if (visible && previous)
        previous->endAppearanceTransition(false, false);
    if (visible)
        next->endAppearanceTransition(true, false);
}

void XRTabBarController::showSelected()
{
    XRViewController *selected = selectedViewController();
    if (!m_content || !selected)
        return;
    QWidget *view = selected->view();
    view->setParent(m_content);
    view->setGeometry(0, 0, m_content->width(), m_content->height());
    view->show();
    if (QToolButton *button = tabButton(m_selected))
        button->setChecked(true);
}
