#pragma once

#include "XRAlertView.h"
#include "XRTableView.h"

#include <QObject>
#include <QPointer>

class ZOTableAlert;

class ZOTableAlertDataSource
{
public:
    virtual ~ZOTableAlertDataSource() = default;
    // A row from the table's dequeueReusableCellWithIdentifier(), or a new one.
    virtual XRTableViewCell *tableAlertCellForRow(ZOTableAlert *tableAlert, int row) = 0;
    virtual int numberOfRowsInTableAlert(ZOTableAlert *tableAlert) = 0;
};

// Every operation is optional: one the delegate does not override does nothing.
class ZOTableAlertDelegate
{
public:
    virtual ~ZOTableAlertDelegate() = default;
    virtual void tableAlertDidSelectRow(ZOTableAlert *tableAlert, int row)
    {
        Q_UNUSED(tableAlert);
        Q_UNUSED(row);
    }
    virtual void tableAlertCancel(ZOTableAlert *tableAlert) { Q_UNUSED(tableAlert); }
    virtual void tableAlertClickedButtonAtIndex(ZOTableAlert *tableAlert, int buttonIndex)
    {
        Q_UNUSED(tableAlert);
        Q_UNUSED(buttonIndex);
    }
    virtual void willPresentTableAlert(ZOTableAlert *tableAlert) { Q_UNUSED(tableAlert); }
    virtual void didPresentTableAlert(ZOTableAlert *tableAlert) { Q_UNUSED(tableAlert); }
    virtual void tableAlertWillDismissWithButtonIndex(ZOTableAlert *tableAlert, int buttonIndex)
    {
        Q_UNUSED(tableAlert);
        Q_UNUSED(buttonIndex);
    }
    virtual void tableAlertDidDismissWithButtonIndex(ZOTableAlert *tableAlert, int buttonIndex)
    {
        Q_UNUSED(tableAlert);
        Q_UNUSED(buttonIndex);
    }
};

// An alert with a list: a title, an optional message and a cancel button, and
// between them a table of 40-point rows of which at most seven show at once.
// Made once and shown any number of times; each showing asks the data source
// for the rows again. With type 0 choosing a row closes the alert (button
// index -1) before the delegate hears of the row.
class ZOTableAlert : public QObject,
                     private XRTableViewDataSource,
                     private XRTableViewDelegate,
                     private XRAlertViewDelegate
{
    Q_OBJECT
public:
    static constexpr int rowHeight = 40;
    static constexpr int maximumVisibleRows = 7;

    // The message is shown as given; a null one shows none.
    ZOTableAlert(const QString &title, const QString &cancelButtonTitle, const QString &message = QString());
    ~ZOTableAlert() override;

    // The alert of the current showing; null while none is shown.
    XRAlertView *view() const { return m_view; }
    XRTableView *tableView() const { return m_tableView; }
    int type() const { return m_type; }
    void setType(int type) { m_type = type; }
    void setDelegate(ZOTableAlertDelegate *delegate) { m_delegate = delegate; }
    void setDataSource(ZOTableAlertDataSource *dataSource) { m_dataSource = dataSource; }

    // Reloads the rows, then shows the alert.
    void show();
    // Sizes the table to the rows, up to seven, and the alert around it. A
    // second layout replaces the growth of the first instead of adding to it.
    void layout();

private:
    int tableViewNumberOfRowsInSection(XRTableView *tableView, int section) override;
    XRTableViewCell *tableViewCellForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;
    int tableViewHeightForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;
    void tableViewDidSelectRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;

    void alertViewClickedButtonAtIndex(XRAlertView *alertView, int buttonIndex) override;
    void alertViewCancel(XRAlertView *alertView) override;
    void willPresentAlertView(XRAlertView *alertView) override;
    void didPresentAlertView(XRAlertView *alertView) override;
    void alertViewWillDismissWithButtonIndex(XRAlertView *alertView, int buttonIndex) override;
    void alertViewDidDismissWithButtonIndex(XRAlertView *alertView, int buttonIndex) override;

    QString m_title;
    QString m_cancelButtonTitle;
    QString m_message;
    int m_type = 0;
    ZOTableAlertDelegate *m_delegate = nullptr;
    ZOTableAlertDataSource *m_dataSource = nullptr;
    // The table outlives each showing's alert: it is taken back when the alert closes.
    QPointer<XRTableView> m_tableView;
    QPointer<XRAlertView> m_view;
};
