#pragma once

#include "XRViewController.h"

#include <QList>

class QButtonGroup;
class QToolButton;

// Screens side by side under a tab bar at the bottom of the window; the
// selected one fills the space above the bar.
class XRTabBarController : public XRViewController
{
    Q_OBJECT
public:
    static constexpr int barHeight = 49;

    explicit XRTabBarController(QObject *parent = nullptr);

    void setViewControllers(const QList<XRViewController *> &controllers);
    QList<XRViewController *> viewControllers() const { return m_controllers; }
    int selectedIndex() const { return m_selected; }
    void setSelectedIndex(int index);
    XRViewController *selectedViewController() const;
    // The tab's button, for tests and for the tab's badge-free look.
    QToolButton *tabButton(int index) const;

protected:
    XRViewController *visibleChildViewController() const override { return selectedViewController(); }
    QWidget *loadView() override;

private:
    void showSelected();

    QList<XRViewController *> m_controllers;
    QList<QToolButton *> m_buttons;
    int m_selected = 0;
    QWidget *m_content = nullptr;
    QWidget *m_bar = nullptr;
    QButtonGroup *m_group = nullptr;
};
