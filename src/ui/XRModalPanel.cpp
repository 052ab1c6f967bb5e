#include "XRModalPanel.h"

#include "XRKeyboardFocus.h"
#include "XRWindow.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace {

QList<XRModalPanel *> &shown()
{
    static QList<XRModalPanel *> panels;
    return panels;
}

QAccessibleInterface *panelAccessible(const QString &, QObject *object)
{
    if (auto *panel = qobject_cast<XRModalPanel *>(object))
        return new QAccessibleWidget(panel, panel->accessibleRole());
    return nullptr;
}

} // namespace

XRModalPanel::XRModalPanel(const QString &title, const QStringList &buttonTitles, const char *styleSheet, int dimming,
                           QAccessible::Role role)
    : QWidget(XRWindow::mainWindow())
    , m_title(title)
    , m_buttonTitles(buttonTitles)
    , m_dimming(dimming)
    , m_panel(new QWidget(this))
    , m_role(role)
{
    static const bool installed = [] {
        QAccessible::installFactory(panelAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setAccessibleName(title);
    m_panel->setAttribute(Qt::WA_StyledBackground);
    m_panel->setStyleSheet(QString::fromLatin1(styleSheet));
    for (int i = 0; i < m_buttonTitles.size(); ++i) {
        auto *button = new QPushButton(m_buttonTitles[i], m_panel);
        // Return presses the focused button, as in a desktop dialog.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, i] { buttonPressed(i); });
        m_buttons.append(button);
    }
    QWidget::hide();
}

XRModalPanel::~XRModalPanel()
{
    shown().removeOne(this);
}

QPushButton *XRModalPanel::button(int index) const
{
    return m_buttons.value(index, nullptr);
}

void XRModalPanel::show()
{
    XRWindow *window = XRWindow::mainWindow();
    if (!window)
        return;
    setParent(window);
    setGeometry(0, 0, XRWindow::width, XRWindow::height);
    layOut();
    willPresent();
    shown().append(this);
    m_focusBefore = QApplication::focusWidget();
    QWidget::show();
    raise();
    if (QPushButton *defaultButton = button(defaultButtonIndex()))
        defaultButton->setFocus();
    else
        setFocus();
    didPresent();
}

void XRModalPanel::dismissWithClickedButtonIndex(int buttonIndex)
{
    if (!shown().removeOne(this))
        return;
    willDismiss(buttonIndex);
    hide();
    if (m_focusBefore && m_focusBefore->isVisible())
        m_focusBefore->setFocus();
    didDismiss(buttonIndex);
    deleteLater();
}

const QList<XRModalPanel *> &XRModalPanel::shownPanels()
{
    return shown();
}

void XRModalPanel::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), QColor(0, 0, 0, m_dimming));
}

// Keys no control of the panel took stop here, never reaching the screen below.
void XRModalPanel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (cancelButtonIndex() >= 0)
            cancelled();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (QPushButton *defaultButton = button(defaultButtonIndex()))
            defaultButton->click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool XRModalPanel::focusNextPrevChild(bool next)
{
    if (!isVisible())
        return QWidget::focusNextPrevChild(next);
    return xr::focusNextControlInside(this, next);
}
