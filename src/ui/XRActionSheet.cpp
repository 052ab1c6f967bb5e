#include "XRActionSheet.h"

#include "XRWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char panelStyle[] = "QWidget#actionSheetPanel { background: rgba(40, 40, 50, 235); }"
                          "QLabel { color: #dddddd; background: transparent; }"
                          "QPushButton { color: black; font-weight: bold; font-size: 16px; min-height: 40px;"
                          " background: #f2f2f2; border: 1px solid #888; border-radius: 8px; }"
                          "QPushButton#actionSheetCancel { color: white; background: #3a3a44; }"
                          "QPushButton:focus { border: 3px solid #2f7de1; }"
                          "QPushButton:pressed { background: #9ab; }";
} // namespace

XRActionSheet::XRActionSheet(const QString &title, XRActionSheetDelegate *delegate, const QString &cancelButtonTitle,
                             const QStringList &otherButtonTitles)
    : XRModalPanel(title, cancelButtonTitle.isEmpty() ? otherButtonTitles : otherButtonTitles + QStringList{cancelButtonTitle},
                   panelStyle, 90, QAccessible::Dialog)
    , m_cancelIndex(cancelButtonTitle.isEmpty() ? -1 : int(otherButtonTitles.size()))
    , m_delegate(delegate)
{
    setObjectName(QStringLiteral("actionSheet"));
    panel()->setObjectName(QStringLiteral("actionSheetPanel"));
    for (int i = 0; i < buttons().size(); ++i)
        buttons()[i]->setObjectName(i == m_cancelIndex ? QStringLiteral("actionSheetCancel")
                                                       : QStringLiteral("actionSheetButton%1").arg(i));
}

void XRActionSheet::layOut()
{
    QWidget *const panel = this->panel();
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(18, 12, 18, 16);
    layout->setSpacing(8);
    if (!title().isEmpty()) {
        auto *label = new QLabel(title(), panel);
        label->setObjectName(QStringLiteral("actionSheetTitle"));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    for (QPushButton *button : buttons())
        layout->addWidget(button);
    panel->setFixedWidth(XRWindow::width);
    panel->adjustSize();
    panel->move(0, XRWindow::height - panel->height());
}

void XRActionSheet::didDismiss(int buttonIndex)
{
    if (m_delegate)
        m_delegate->actionSheetClickedButtonAtIndex(this, buttonIndex);
}

QList<XRActionSheet *> XRActionSheet::visibleSheets()
{
    QList<XRActionSheet *> sheets;
    for (XRModalPanel *shown : shownPanels()) {
        if (auto *sheet = qobject_cast<XRActionSheet *>(shown))
            sheets.append(sheet);
    }
    return sheets;
}
