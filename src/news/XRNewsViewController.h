#pragma once

#include "XRTableView.h"
#include "XRViewController.h"

#include <QVariantList>

class XRNewsFeedLoader;

// The news tab's list: one row for each story of the market's feed, with the
// story's title and publication time; a row opens the story.
class XRNewsViewController : public XRViewController, public XRTableViewDataSource, public XRTableViewDelegate
{
    Q_OBJECT
public:
    static constexpr int rowHeight = 72;
    static constexpr int firstLoadDelayMilliseconds = 100;

    // Takes the application delegate from the shared application object, which has it before the tabs are made.
    explicit XRNewsViewController(QObject *parent = nullptr);
    ~XRNewsViewController() override;

    // Loads the feed of the market now chosen and redraws the list.
    void loadNews();
    QVariantList stories() const;
    bool isLoading() const;
    XRTableView *tableView() const { return m_tableView; }

    int numberOfSectionsInTableView(XRTableView *tableView) override;
    int tableViewNumberOfRowsInSection(XRTableView *tableView, int section) override;
    int tableViewHeightForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;
    XRTableViewCell *tableViewCellForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;
    void tableViewDidSelectRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

private:
    XRNewsFeedLoader *m_feed;
    XRTableView *m_tableView = nullptr;
};
