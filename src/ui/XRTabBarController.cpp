#include "XRTabBarController.h"

#include "XRLocalizedString.h"

#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QKeySequence>
#include <QPainter>
#include <QShortcut>
#include <QToolButton>

namespace {

// A tab of the bar: its picture above its title, lit while its screen is
// shown. A screen reader meets it as a page tab, selected while its screen is
// shown, that it can press. It paints itself: a style sheet on the bar cost
// the first frame a quarter of a millisecond.
class XRTabBarButton : public QToolButton
{
    Q_OBJECT
public:
    explicit XRTabBarButton(QWidget *parent)
        : QToolButton(parent)
    {
        QFont titleFont = font();
        titleFont.setPixelSize(10);
        titleFont.setBold(true);
        setFont(titleFont);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        // The ring shows where the keyboard is, not where the mouse pressed.
        const bool keyboardFocus = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
        painter.setPen(keyboardFocus ? QPen(QColor(255, 255, 255, 160), 1) : QPen(Qt::NoPen));
        painter.setBrush(isChecked() ? QColor(255, 255, 255, 40) : QColor(Qt::transparent));
        painter.drawRoundedRect(frame, 3, 3);
        const QRect picture((width() - iconSize().width()) / 2, 2, iconSize().width(), iconSize().height());
        icon().paint(&painter, picture);
        const QRect title(2, picture.bottom() + 1, width() - 4, height() - picture.bottom() - 1);
        painter.setPen(isChecked() ? QColor(Qt::white) : QColor(0x9a, 0x9a, 0x9a));
        painter.drawText(title, Qt::AlignHCenter | Qt::AlignTop,
                         fontMetrics().elidedText(text(), Qt::ElideRight, title.width()));
    }
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

// The bar's black sheen, top to bottom.
QBrush barBackground()
{
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, QColor(0x3a, 0x3a, 0x3a));
    gradient.setColorAt(0.5, QColor(0x1c, 0x1c, 0x1c));
    gradient.setColorAt(1, Qt::black);
    return gradient;
}
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
    m_bar->setAutoFillBackground(true);
    QPalette barPalette = m_bar->palette();
    barPalette.setBrush(QPalette::Window, barBackground());
    m_bar->setPalette(barPalette);
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
