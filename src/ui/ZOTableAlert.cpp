#include "ZOTableAlert.h"

#include "XRWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

ZOTableAlert::ZOTableAlert(const QString &title, const QString &cancelButtonTitle, const QString &message)
    : m_title(title)
    , m_cancelButtonTitle(cancelButtonTitle)
    , m_message(message)
    , m_tableView(new XRTableView(XRWindow::mainWindow()))
{
    m_tableView->hide();
    m_tableView->setFrameShape(QFrame::NoFrame);
    m_tableView->setObjectName(QStringLiteral("tableAlertTable"));
    m_tableView->setAccessibleName(title);
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    // The alert's white texts stop at the list.
    m_tableView->setStyleSheet(QStringLiteral("XRTableView { background: rgb(230, 230, 230); border-radius: 5px; }"
                                              "QLabel { color: black; }"));
    // A turned screen changes the room the alert has: lay it out again once the turn is through.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::orientationChanged, this, [this] { QTimer::singleShot(0, this, &ZOTableAlert::layout); });
}

ZOTableAlert::~ZOTableAlert()
{
    delete m_tableView;
    delete m_view;
}

void ZOTableAlert::show()
{
    if (m_view)
        return;
    m_tableView->reloadData();
    m_view = new XRAlertView(m_title, m_message, this, m_cancelButtonTitle);
    m_view->show();
}

void ZOTableAlert::layout()
{
    if (!m_view)
        return;
    const int rows = m_dataSource ? m_dataSource->numberOfRowsInTableAlert(this) : 0;
    const int visibleRows = std::min(rows, maximumVisibleRows);
    // Shown before it is sized, so that the alert makes room for it; without
    // rows it is there with no height, so that the alert keeps its size.
    m_tableView->show();
    m_view->setAccessoryView(m_tableView, rowHeight * visibleRows);
}

int ZOTableAlert::tableViewNumberOfRowsInSection(XRTableView *, int)
{
    return m_dataSource ? m_dataSource->numberOfRowsInTableAlert(this) : 0;
}

XRTableViewCell *ZOTableAlert::tableViewCellForRowAtIndexPath(XRTableView *, const XRIndexPath &indexPath)
{
    return m_dataSource->tableAlertCellForRow(this, indexPath.row);
}

int ZOTableAlert::tableViewHeightForRowAtIndexPath(XRTableView *, const XRIndexPath &)
{
    return rowHeight;
}

void ZOTableAlert::tableViewDidSelectRowAtIndexPath(XRTableView *, const XRIndexPath &indexPath)
{
    if (m_type == 0 && m_view)
        m_view->dismissWithClickedButtonIndex(-1);
    if (m_delegate)
        m_delegate->tableAlertDidSelectRow(this, indexPath.row);
}

void ZOTableAlert::alertViewClickedButtonAtIndex(XRAlertView *, int buttonIndex)
{
    if (m_delegate)
        m_delegate->tableAlertClickedButtonAtIndex(this, buttonIndex);
}

void ZOTableAlert::alertViewCancel(XRAlertView *)
{
    if (m_delegate)
        m_delegate->tableAlertCancel(this);
}

void ZOTableAlert::willPresentAlertView(XRAlertView *)
{
    layout();
    if (m_delegate)
        m_delegate->willPresentTableAlert(this);
}

void ZOTableAlert::didPresentAlertView(XRAlertView *)
{
    // The keyboard starts in the list: arrows move, Return chooses, Escape cancels.
    m_tableView->setFocus();
    if (m_delegate)
        m_delegate->didPresentTableAlert(this);
}

void ZOTableAlert::alertViewWillDismissWithButtonIndex(XRAlertView *, int buttonIndex)
{
    if (m_delegate)
        m_delegate->tableAlertWillDismissWithButtonIndex(this, buttonIndex);
}

void ZOTableAlert::alertViewDidDismissWithButtonIndex(XRAlertView *, int buttonIndex)
{
    // The alert goes once this showing ends; the table stays for the next one.
    m_tableView->hide();
    m_tableView->setParent(XRWindow::mainWindow());
    m_view = nullptr;
    if (m_delegate)
        m_delegate->tableAlertDidDismissWithButtonIndex(this, buttonIndex);
}
