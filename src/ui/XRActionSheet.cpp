#include "XRActionSheet.h"

#include "XRWindow.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QList<XRActionSheet *> &shownSheets()
{
    static QList<XRActionSheet *> sheets;
    return sheets;
}

const char panelStyle[] = "QWidget#actionSheetPanel { background: rgba(40, 40, 50, 235); }"
                          "QLabel { color: #dddddd; background: transparent; }"
                          "QPushButton { color: black; font-weight: bold; font-size: 16px; min-height: 40px;"
                          " background: #f2f2f2; border: 1px solid #888; border-radius: 8px; }"
                          "QPushButton#actionSheetCancel { color: white; background: #3a3a44; }"
                          "QPushButton:pressed { background: #9ab; }";
} // namespace

XRActionSheet::XRActionSheet(const QString &title, XRActionSheetDelegate *delegate, const QString &cancelButtonTitle,
                             const QStringList &otherButtonTitles)
    : QWidget(XRWindow::mainWindow())
    , m_title(title)
    , m_buttonTitles(otherButtonTitles)
    , m_delegate(delegate)
    , m_panel(new QWidget(this))
{
    setObjectName(QStringLiteral("actionSheet"));
    if (!cancelButtonTitle.isEmpty()) {
        m_cancelIndex = int(m_buttonTitles.size());
        m_buttonTitles.append(cancelButtonTitle);
    }
    m_panel->setObjectName(QStringLiteral("actionSheetPanel"));
    m_panel->setAttribute(Qt::WA_StyledBackground);
    m_panel->setStyleSheet(QString::fromLatin1(panelStyle));
    auto *layout = new QVBoxLayout(m_panel);
    layout->setContentsMargins(18, 12, 18, 16);
    layout->setSpacing(8);
    if (!title.isEmpty()) {
        auto *label = new QLabel(title, m_panel);
        label->setObjectName(QStringLiteral("actionSheetTitle"));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    for (int i = 0; i < m_buttonTitles.size(); ++i) {
        auto *button = new QPushButton(m_buttonTitles[i], m_panel);
        button->setObjectName(i == m_cancelIndex ? QStringLiteral("actionSheetCancel")
                                                 : QStringLiteral("actionSheetButton%1").arg(i));
        connect(button, &QPushButton::clicked, this, [this, i] { dismissWithClickedButtonIndex(i); });
        layout->addWidget(button);
        m_buttons.append(button);
    }
    QWidget::hide();
}

XRActionSheet::~XRActionSheet()
{
    shownSheets().removeOne(this);
}

QPushButton *XRActionSheet::button(int index) const
{
    return m_buttons.value(index, nullptr);
}

void XRActionSheet::show()
{
    XRWindow *window = XRWindow::mainWindow();
    if (!window)
        return;
    setParent(window);
    setGeometry(0, 0, XRWindow::width, XRWindow::height);
    m_panel->setFixedWidth(XRWindow::width);
    m_panel->adjustSize();
    m_panel->move(0, XRWindow::height - m_panel->height());
    shownSheets().append(this);
    QWidget::show();
    raise();
}

void XRActionSheet::dismissWithClickedButtonIndex(int buttonIndex)
{
    shownSheets().removeOne(this);
    hide();
    if (m_delegate)
        m_delegate->actionSheetClickedButtonAtIndex(this, buttonIndex);
    deleteLater();
}

QList<XRActionSheet *> XRActionSheet::visibleSheets()
{
    return shownSheets();
}

void XRActionSheet::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), QColor(0, 0, 0, 90));
}
