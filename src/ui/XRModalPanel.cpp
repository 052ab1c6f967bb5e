#include "XRModalPanel.h"

#include "XRWindow.h"

#include <QPainter>
#include <QPushButton>

namespace {
QList<XRModalPanel *> &shown()
{
    static QList<XRModalPanel *> panels;
    return panels;
}
} // namespace

XRModalPanel::XRModalPanel(const QString &title, const QStringList &buttonTitles, const char *styleSheet, int dimming)
    : QWidget(XRWindow::mainWindow())
    , m_title(title)
    , m_buttonTitles(buttonTitles)
    , m_dimming(dimming)
    , m_panel(new QWidget(this))
{
    m_panel->setAttribute(Qt::WA_StyledBackground);
    m_panel->setStyleSheet(QString::fromLatin1(styleSheet));
    for (int i = 0; i < m_buttonTitles.size(); ++i) {
        auto *button = new QPushButton(m_buttonTitles[i], m_panel);
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
    QWidget::show();
    raise();
    setFocus();
    didPresent();
}

void XRModalPanel::dismissWithClickedButtonIndex(int buttonIndex)
{
    if (!shown().removeOne(this))
        return;
    willDismiss(buttonIndex);
    hide();
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
