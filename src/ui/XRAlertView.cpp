#include "XRAlertView.h"

#include "XRWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char panelStyle[] = "QWidget#alertPanel { background: rgba(20, 40, 90, 235); border: 2px solid white;"
                          " border-radius: 10px; }"
                          "QLabel { color: white; background: transparent; }"
                          "QPushButton { color: white; font-weight: bold; font-size: 15px; min-height: 36px;"
                          " background: rgba(255, 255, 255, 40); border: 1px solid rgba(255, 255, 255, 120);"
                          " border-radius: 6px; }"
                          "QPushButton:focus { border: 2px solid white; }"
                          "QPushButton:pressed { background: rgba(255, 255, 255, 90); }";

QStringList cancelFirst(const QString &cancelButtonTitle, const QStringList &otherButtonTitles)
{
    return cancelButtonTitle.isEmpty() ? otherButtonTitles : QStringList{cancelButtonTitle} + otherButtonTitles;
}

} // namespace

XRAlertView::XRAlertView(const QString &title, const QString &message, XRAlertViewDelegate *delegate,
                         const QString &cancelButtonTitle, const QStringList &otherButtonTitles)
    : XRModalPanel(title, cancelFirst(cancelButtonTitle, otherButtonTitles), panelStyle, 110, QAccessible::AlertMessage)
    , m_message(message)
    , m_hasCancelButton(!cancelButtonTitle.isEmpty())
    , m_delegate(delegate)
{
    setObjectName(QStringLiteral("alertView"));
    setAccessibleDescription(message);
    panel()->setObjectName(QStringLiteral("alertPanel"));
    for (int i = 0; i < buttons().size(); ++i)
        buttons()[i]->setObjectName(QStringLiteral("alertButton%1").arg(i));
}

void XRAlertView::setAccessoryView(QWidget *view, int height)
{
    m_accessoryHeight = height;
    if (m_accessory != view) {
        m_accessory = view;
        view->setParent(panel());
        if (auto *layout = qobject_cast<QVBoxLayout *>(panel()->layout()))
            layout->insertWidget(m_message.isEmpty() ? 1 : 2, view);
    }
    view->setFixedHeight(height);
    if (panel()->layout())
        fitPanel();
}

QRect XRAlertView::panelGeometry() const
{
    return panel()->geometry();
}

void XRAlertView::layOut()
{
    QWidget *const panel = this->panel();
    if (panel->layout())
        return;
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    auto *titleLabel = new QLabel(title(), panel);
    titleLabel->setObjectName(QStringLiteral("alertTitle"));
    titleLabel->setAlignment(Qt::AlignCenter);
    titleLabel->setWordWrap(true);
    QFont titleFont = titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(17);
    titleLabel->setFont(titleFont);
    layout->addWidget(titleLabel);
    if (!m_message.isEmpty()) {
        auto *messageLabel = new QLabel(m_message, panel);
        messageLabel->setObjectName(QStringLiteral("alertMessage"));
        messageLabel->setAlignment(Qt::AlignCenter);
        messageLabel->setWordWrap(true);
        layout->addWidget(messageLabel);
    }
    if (m_accessory)
        layout->addWidget(m_accessory);
    // Two buttons stand side by side, more stand in a column with cancel last.
    const QList<QPushButton *> &buttons = this->buttons();
    if (buttons.size() == 2) {
        auto *row = new QHBoxLayout;
        row->addWidget(buttons[0]);
        row->addWidget(buttons[1]);
        layout->addLayout(row);
    } else {
        for (int i = 1; i < buttons.size(); ++i)
            layout->addWidget(buttons[i]);
        if (!buttons.isEmpty())
            layout->addWidget(buttons[0]);
    }
    fitPanel();
}

// The panel keeps its centre in the window whatever its height.
void XRAlertView::fitPanel()
{
    QWidget *const panel = this->panel();
    const int panelWidth = 284;
    panel->setFixedWidth(panelWidth);
    panel->layout()->activate();
    const int panelHeight = std::min(panel->sizeHint().height(), XRWindow::height - 40);
    panel->setGeometry((XRWindow::width - panelWidth) / 2, (XRWindow::height - panelHeight) / 2, panelWidth,
                       panelHeight);
}

void XRAlertView::buttonPressed(int buttonIndex)
{
    if (m_delegate)
        m_delegate->alertViewClickedButtonAtIndex(this, buttonIndex);
    XRModalPanel::buttonPressed(buttonIndex);
}

void XRAlertView::willPresent()
{
    if (m_delegate)
        m_delegate->willPresentAlertView(this);
}

void XRAlertView::didPresent()
{
    if (m_delegate)
        m_delegate->didPresentAlertView(this);
}

void XRAlertView::willDismiss(int buttonIndex)
{
    if (m_delegate)
        m_delegate->alertViewWillDismissWithButtonIndex(this, buttonIndex);
}

void XRAlertView::didDismiss(int buttonIndex)
{
    if (m_delegate)
        m_delegate->alertViewDidDismissWithButtonIndex(this, buttonIndex);
}

// Escape closes the alert with its cancel button without pressing it.
void XRAlertView::cancelled()
{
    if (m_delegate)
        m_delegate->alertViewCancel(this);
    dismissWithClickedButtonIndex(cancelButtonIndex());
}

QList<XRAlertView *> XRAlertView::visibleAlerts()
{
    QList<XRAlertView *> alerts;
    for (XRModalPanel *shown : shownPanels()) {
        if (auto *alert = qobject_cast<XRAlertView *>(shown))
            alerts.append(alert);
    }
    return alerts;
}
