#include "XRAlertView.h"

#include "XRWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QList<XRAlertView *> &shownAlerts()
{
    static QList<XRAlertView *> alerts;
    return alerts;
}

const char panelStyle[] = "QWidget#alertPanel { background: rgba(20, 40, 90, 235); border: 2px solid white;"
                          " border-radius: 10px; }"
                          "QLabel { color: white; background: transparent; }"
                          "QPushButton { color: white; font-weight: bold; font-size: 15px; min-height: 36px;"
                          " background: rgba(255, 255, 255, 40); border: 1px solid rgba(255, 255, 255, 120);"
                          " border-radius: 6px; }"
                          "QPushButton:pressed { background: rgba(255, 255, 255, 90); }";
} // namespace

XRAlertView::XRAlertView(const QString &title, const QString &message, XRAlertViewDelegate *delegate,
                         const QString &cancelButtonTitle, const QStringList &otherButtonTitles)
    : QWidget(XRWindow::mainWindow())
    , m_title(title)
    , m_message(message)
    , m_cancelButtonTitle(cancelButtonTitle)
    , m_delegate(delegate)
    , m_panel(new QWidget(this))
{
    setObjectName(QStringLiteral("alertView"));
    if (!cancelButtonTitle.isEmpty())
        m_buttonTitles.append(cancelButtonTitle);
    m_buttonTitles.append(otherButtonTitles);
    m_panel->setObjectName(QStringLiteral("alertPanel"));
    m_panel->setAttribute(Qt::WA_StyledBackground);
    m_panel->setStyleSheet(QString::fromLatin1(panelStyle));
    for (int i = 0; i < m_buttonTitles.size(); ++i) {
        auto *button = new QPushButton(m_buttonTitles[i], m_panel);
        button->setObjectName(QStringLiteral("alertButton%1").arg(i));
        connect(button, &QPushButton::clicked, this, [this, i] { buttonPressed(i); });
        m_buttons.append(button);
    }
    QWidget::hide();
}

XRAlertView::~XRAlertView()
{
    shownAlerts().removeOne(this);
}

QPushButton *XRAlertView::button(int index) const
{
    return m_buttons.value(index, nullptr);
}

void XRAlertView::setAccessoryView(QWidget *view, int height)
{
    m_accessoryHeight = height;
    if (m_accessory != view) {
        m_accessory = view;
        view->setParent(m_panel);
        if (auto *layout = qobject_cast<QVBoxLayout *>(m_panel->layout()))
            layout->insertWidget(m_message.isEmpty() ? 1 : 2, view);
    }
    view->setFixedHeight(height);
    if (m_panel->layout())
        fitPanel();
}

QRect XRAlertView::panelGeometry() const
{
    return m_panel->geometry();
}

void XRAlertView::layOut()
{
    if (m_panel->layout())
        return;
    auto *layout = new QVBoxLayout(m_panel);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    auto *titleLabel = new QLabel(m_title, m_panel);
    titleLabel->setObjectName(QStringLiteral("alertTitle"));
    titleLabel->setAlignment(Qt::AlignCenter);
    titleLabel->setWordWrap(true);
    QFont titleFont = titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(17);
    titleLabel->setFont(titleFont);
    layout->addWidget(titleLabel);
    if (!m_message.isEmpty()) {
        auto *messageLabel = new QLabel(m_message, m_panel);
        messageLabel->setObjectName(QStringLiteral("alertMessage"));
        messageLabel->setAlignment(Qt::AlignCenter);
        messageLabel->setWordWrap(true);
        layout->addWidget(messageLabel);
    }
    if (m_accessory)
        layout->addWidget(m_accessory);
    // Two buttons stand side by side, more stand in a column with cancel last.
    if (m_buttons.size() == 2) {
        auto *row = new QHBoxLayout;
        row->addWidget(m_buttons[0]);
        row->addWidget(m_buttons[1]);
        layout->addLayout(row);
    } else {
        for (int i = 1; i < m_buttons.size(); ++i)
            layout->addWidget(m_buttons[i]);
        if (!m_buttons.isEmpty())
            layout->addWidget(m_buttons[0]);
    }
    fitPanel();
}

// The panel keeps its centre in the window whatever its height.
void XRAlertView::fitPanel()
{
    const int panelWidth = 284;
    m_panel->setFixedWidth(panelWidth);
    m_panel->layout()->activate();
    const int panelHeight = std::min(m_panel->sizeHint().height(), XRWindow::height - 40);
    m_panel->setGeometry((XRWindow::width - panelWidth) / 2, (XRWindow::height - panelHeight) / 2, panelWidth,
                         panelHeight);
}

void XRAlertView::show()
{
    XRWindow *window = XRWindow::mainWindow();
    if (!window)
        return;
    setParent(window);
    setGeometry(0, 0, XRWindow::width, XRWindow::height);
    layOut();
    if (m_delegate)
        m_delegate->willPresentAlertView(this);
    shownAlerts().append(this);
    QWidget::show();
    raise();
    setFocus();
    if (m_delegate)
        m_delegate->didPresentAlertView(this);
}

void XRAlertView::buttonPressed(int buttonIndex)
{
    if (m_delegate)
        m_delegate->alertViewClickedButtonAtIndex(this, buttonIndex);
    dismissWithClickedButtonIndex(buttonIndex);
}

void XRAlertView::dismissWithClickedButtonIndex(int buttonIndex)
{
    if (!shownAlerts().removeOne(this))
        return;
    if (m_delegate)
        m_delegate->alertViewWillDismissWithButtonIndex(this, buttonIndex);
    hide();
    if (m_delegate)
        m_delegate->alertViewDidDismissWithButtonIndex(this, buttonIndex);
    deleteLater();
}

void XRAlertView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape || cancelButtonIndex() < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_delegate)
        m_delegate->alertViewCancel(this);
    dismissWithClickedButtonIndex(cancelButtonIndex());
}

QList<XRAlertView *> XRAlertView::visibleAlerts()
{
    return shownAlerts();
}

void XRAlertView::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), QColor(0, 0, 0, 110));
}
