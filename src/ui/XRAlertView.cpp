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
                          "QPushButton:pressed { background: rgba(255, 255, 255, 90); }";

QStringList cancelFirst(const QString &cancelButtonTitle, const QStringList &otherButtonTitles)
{
    return cancelButtonTitle.isEmpty() ? otherButtonTitles : QStringList{cancelButtonTitle} + otherButtonTitles;
}

} // namespace

XRAlertView::XRAlertView(const QString &title, const QString &message, XRAlertViewDelegate *delegate,
                         const QString &cancelButtonTitle, const QStringList &otherButtonTitles)
    : XRModalPanel(title, cancelFirst(cancelButtonTitle, otherButtonTitles), panelStyle, 110)
    , m_message(message)
    , m_hasCancelButton(!cancelButtonTitle.isEmpty())
    , m_delegate(delegate)
{
    setObjectName(QStringLiteral("alertView"));
    panel()->setObjectName(QStringLiteral("alertPanel"));
    for (int i = 0; i < buttons().size(); ++i)
        buttons()[i]->setObjectName(QStringLiteral("alertButton%1").arg(i));
}

void XRAlertView::setAccessoryView(QWidget *view, int height)
{
    m_accessory = view;
    m_accessoryHeight = height;
    view->setParent(panel());
}

void XRAlertView::layOut()
{
    QWidget *const panel = this->panel();
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
    if (m_accessory) {
        m_accessory->setFixedHeight(m_accessoryHeight);
        layout->addWidget(m_accessory);
    }
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
    const int panelWidth = 284;
    panel->setFixedWidth(panelWidth);
    panel->adjustSize();
    const int panelHeight = std::min(panel->sizeHint().height(), XRWindow::height - 40);
    panel->setGeometry((XRWindow::width - panelWidth) / 2, (XRWindow::height - panelHeight) / 2, panelWidth,
                       panelHeight);
}

void XRAlertView::reportClickedButton(int buttonIndex)
{
    if (m_delegate)
        m_delegate->alertViewClickedButtonAtIndex(this, buttonIndex);
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
