#pragma once

#include "XRSuperViewController.h"
#include "XRTableView.h"

#include <QVariantList>
#include <QVariantMap>

#include <optional>

class XRMapStoreLocatorViewController;

// The store tab: the market's stores, nearest first once the device's
// position is known, the default store on top; a row opens the store's map.
class XRVaxloShopViewController : public XRSuperViewController, public XRTableViewDataSource, public XRTableViewDelegate
{
    Q_OBJECT
public:
    explicit XRVaxloShopViewController(QObject *parent = nullptr);
    ~XRVaxloShopViewController() override;

    XRTableView *tableView() const { return m_tableView; }
    // The collection as last taken from the application delegate, with the
    // distances added here; nothing until taken.
    const std::optional<QVariantList> &storesArray() const { return m_storesArray; }
    // The same records by distance with the default store first; nothing until first ordered.
    const std::optional<QVariantList> &sortedStoresArray() const { return m_sortedStoresArray; }

    void updateStoresInfo();
    void addDistanceToStores();
    void sortStoresArray();
    void reloadData();
    void presentMapWithStore(const QVariantMap &store);
    void dismissMap();
    XRMapStoreLocatorViewController *mapViewController() const;

    int tableViewNumberOfRowsInSection(XRTableView *tableView, int section) override;
    XRTableViewCell *tableViewCellForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;
    int tableViewHeightForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;
    void tableViewDidSelectRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override;

    void viewDidAppear(bool animated) override;

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

private:
    // The rows: the ordered list once it holds a store, the collection before.
    const QVariantList &rows() const;
    void takeStoresArray();

    XRTableView *m_tableView = nullptr;
    std::optional<QVariantList> m_storesArray;
    std::optional<QVariantList> m_sortedStoresArray;
};
