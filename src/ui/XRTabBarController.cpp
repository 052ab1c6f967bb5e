#include "XRTabBarController.h"

#include "XRLocalizedString.h"

#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QKeySequence>
#include <QShortcut>
#include <QToolButton>

namespace {

// A tab of the bar: a screen reader meets it as a page tab, selected while
// its screen is shown, that it can press.
class XRTabBarButton : public QToolButton
{
    Q_OBJECT
public:
    using QToolButton::QToolButton;
};

class TabAccessible : public QAccessibleWidget
{
public:
    explicit TabAccessible(QToolButton *button)
        : QAccessibleWidget(button, QAccessible::PageTab)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return button()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QToolButton *button() const { return static_cast<QToolButton *>(widget()); }
};

QAccessibleInterface *tabBarAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("XRTabBarButton"))
        return new TabAccessible(static_cast<QToolButton *>(object));
    if (className == QLatin1String("QWidget") && object->objectName() == QLatin1String("tabBar"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::PageTabList);
    return nullptr;
}

const char barStyle[] = "QWidget#tabBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                        " stop:0 #3a3a3a, stop:0.5 #1c1c1c, stop:1 #000000); }"
                        "QToolButton { color: #9a9a9a; font-size: 10px; font-weight: bold; border: none;"
                        " background: transparent; border-radius: 3px; }"
                        "QToolButton:checked { color: white; background: rgba(255, 255, 255, 40); }";
}

XRTabBarController::XRTabBarController(QObject *parent)
    : XRViewController(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(tabBarAccessible);
        return true;
    }();
    Q_UNUSED(installed);
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
    m_bar->setAccessibleName(XRLocalizedString("Tabs"));
    // The desktop's keys for the next and the previous tab.
    const auto step = [this](int by) {
        if (!m_controllers.isEmpty())
            setSelectedIndex((m_selected + by + int(m_controllers.size())) % int(m_controllers.size()));
    };
    connect(new QShortcut(QKeySequence::NextChild, view), &QShortcut::activated, this, [step] { step(1); });
    connect(new QShortcut(QKeySequence::PreviousChild, view), &QShortcut::activated, this, [step] { step(-1); });
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
        auto *button = new XRTabBarButton(m_bar);
        button->setObjectName(QStringLiteral("tab%1").arg(i));
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIcon(controllers[i]->tabBarIcon());
        button->setIconSize(QSize(30, 30));
        button->setText(controllers[i]->tabBarTitle());
        button->setFocusPolicy(Qt::StrongFocus);
        auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + i)), button);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, i] { setSelectedIndex(i); });
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
    QWidget *view = selected->viewIn(m_content);
    view->setGeometry(0, 0, m_content->width(), m_content->height());
    view->show();
    if (QToolButton *button = tabButton(m_selected))
        button->setChecked(true);
}

#include "XRTabBarController.moc"
