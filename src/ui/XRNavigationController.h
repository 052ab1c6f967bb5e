#pragma once

#include "XRViewController.h"

#include <QList>

class QLabel;
class QPushButton;

// A stack of screens under a navigation bar with the top screen's title, a
// back button and the top screen's bar buttons.
class XRNavigationController : public XRViewController
{
    Q_OBJECT
public:
    static constexpr int barHeight = 44;

    explicit XRNavigationController(XRViewController *rootViewController, QObject *parent = nullptr);

    void pushViewController(XRViewController *controller, bool animated);
    XRViewController *popViewController(bool animated);
    // The top screen's own way back first, then its left bar button, then a pop.
    bool goBack() override;
    XRViewController *topViewController() const { return m_stack.isEmpty() ? nullptr : m_stack.last(); }
    QList<XRViewController *> viewControllers() const { return m_stack; }

protected:
    XRViewController *visibleChildViewController() const override { return topViewController(); }
    QWidget *loadView() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOutContent();
    void showTop();
    void updateBar();
    void layOutTitle(const QString &title);
    static void setUpButton(QPushButton *button, const XRBarButtonItem &item);

    QList<XRViewController *> m_stack;
    QWidget *m_bar = nullptr;
    QLabel *m_titleLabel = nullptr;
    QPushButton *m_leftButton = nullptr;
    QPushButton *m_rightButton = nullptr;
    QWidget *m_content = nullptr;
};
