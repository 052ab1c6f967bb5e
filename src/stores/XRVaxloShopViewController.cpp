#include "XRVaxloShopViewController.h"

#include "XRApplicationDelegate.h"
#include "XRImage.h"
#include "XRLocalizedString.h"
#include "XRLog.h"
#include "XRMapStoreLocatorViewController.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRRecord.h"
#include "XRStoreOrdering.h"
#include "XRStoreRowText.h"
#include "XRStoreTableViewCell.h"
#include "XRUserDefaults.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString defaultStoreKey = QStringLiteral("XRDefaultStore");

} // namespace

XRVaxloShopViewController::XRVaxloShopViewController(QObject *parent)
    : XRSuperViewController(parent)
{
    setTitle(XRLocalizedString("Stores"));
    setTabBarItem(XRLocalizedString("Stores"), xr::pngIcon(QStringLiteral(":/images/tab-stores.png")));
}

XRVaxloShopViewController::~XRVaxloShopViewController()
{
    XRNotificationCenter::defaultCenter().removeObserver(this);
}

QWidget *XRVaxloShopViewController::loadView()
{
    QWidget *view = XRSuperViewController::loadView();
    view->setObjectName(QStringLiteral("storesScreen"));
    m_tableView = new XRTableView(view);
    m_tableView->setObjectName(QStringLiteral("storesTable"));
    m_tableView->setAccessibleName(title());
    // The list fills whatever room the tab bar leaves.
    auto *layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tableView);
    return view;
}

void XRVaxloShopViewController::viewDidLoad()
{
    qCInfo(lcStores, "VaxloShopLoaded");
    XRSuperViewController::viewDidLoad();
    m_storesArray.reset();
    auto &center = XRNotificationCenter::defaultCenter();
    center.addObserver(this, XRStoresDidEndParsingNotification, [this](const XRNotification &) { updateStoresInfo(); });
    center.addObserver(this, XRLocationDidUpdateNotification, [this](const XRNotification &) { updateStoresInfo(); });
    center.addObserver(this, XRDefaultStoreSelected, [this](const XRNotification &) { reloadData(); });
    m_tableView->setDelegate(this);
    m_tableView->setDataSource(this);
}

void XRVaxloShopViewController::viewDidUnload()
{
    XRNotificationCenter::defaultCenter().removeObserver(this);
    m_tableView = nullptr;
    XRSuperViewController::viewDidUnload();
}

void XRVaxloShopViewController::takeStoresArray()
{
    m_storesArray = appDelegate()->storesArray();
}

void XRVaxloShopViewController::viewDidAppear(bool animated)
{
    XRSuperViewController::viewDidAppear(animated);
    takeStoresArray();
    if (!m_storesArray) {
        appDelegate()->displayLoadingSplash();
        appDelegate()->loadCurrentStoreList();
    } else if (!m_sortedStoresArray && appDelegate()->location()) {
        addDistanceToStores();
        sortStoresArray();
    }
    m_tableView->reloadData();
}

void XRVaxloShopViewController::updateStoresInfo()
{
    takeStoresArray();
    if (!m_storesArray) {
        appDelegate()->displayLoadingSplash();
        appDelegate()->loadCurrentStoreList();
    } else if (appDelegate()->location()) {
        addDistanceToStores();
        sortStoresArray();
    } else if (m_sortedStoresArray) {
        // An order made before (a default chosen) would still hold the
        // previous list's records: order the new list instead.
        sortStoresArray();
    }
    if (m_tableView)
        m_tableView->reloadData();
}

void XRVaxloShopViewController::addDistanceToStores()
{
    if (!m_storesArray || !appDelegate()->location())
        return;
    // The collection's records take their distances in place once the list
    // has let go of its shares of them; shared records would be copied.
    m_storesArray.reset();
    m_sortedStoresArray.reset();
    appDelegate()->addDistanceToStores(appDelegate()->location()->coordinate());
    takeStoresArray();
}

void XRVaxloShopViewController::sortStoresArray()
{
    m_sortedStoresArray = xr::sortStoresByDistance(m_storesArray.value_or(QVariantList()),
                                                   XRUserDefaults::standardUserDefaults().stringForKey(defaultStoreKey));
}

void XRVaxloShopViewController::reloadData()
{
    sortStoresArray();
    if (m_tableView)
        m_tableView->reloadData();
}

const QVariantList &XRVaxloShopViewController::rows() const
{
    static const QVariantList none;
    if (m_sortedStoresArray && !m_sortedStoresArray->isEmpty())
        return *m_sortedStoresArray;
    return m_storesArray ? *m_storesArray : none;
}

int XRVaxloShopViewController::tableViewNumberOfRowsInSection(XRTableView *, int)
{
    return int(rows().size());
}

int XRVaxloShopViewController::tableViewHeightForRowAtIndexPath(XRTableView *, const XRIndexPath &)
{
    return XRStoreTableViewCell::rowHeight;
}

XRTableViewCell *XRVaxloShopViewController::tableViewCellForRowAtIndexPath(XRTableView *tableView,
                                                                          const XRIndexPath &indexPath)
{
    auto *cell = qobject_cast<XRStoreTableViewCell *>(
        tableView->dequeueReusableCellWithIdentifier(XRStoreTableViewCell::reuseIdentifier));
    if (!cell) {
        cell = XRStoreTableViewCell::cell();
        cell->setAccessoryType(XRTableViewCell::AccessoryDisclosureIndicator);
    }
    const QVariant item = rows().value(indexPath.row);
    const QVariantMap &store = xr::record(item);
    const auto field = [&store](const char *key) { return store.value(QString::fromLatin1(key)).toString(); };
    cell->setFullNameString(field("name"));
    cell->setCityNameString(field("city"));
    cell->nameLabel()->setText(xr::storeNameText(field("name")));
    cell->detailLabel()->setText(xr::storeAddressText(field("address")));
    cell->setPhoneString(field("phone"));
    cell->setPhonealtString(field("phone_alt"));
    cell->setDistance(store.value(QStringLiteral("distance")).toDouble());
    cell->setDefaultMark(field("id") == XRUserDefaults::standardUserDefaults().stringForKey(defaultStoreKey));
    cell->eventsLabel()->setText(xr::storeEventsText(store.value(QStringLiteral("events"))));
    cell->setIDString(field("id"));
    return cell;
}

void XRVaxloShopViewController::tableViewDidSelectRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath)
{
    tableView->deselectRowAtIndexPath(indexPath, true);
    presentMapWithStore(rows().value(indexPath.row).toMap());
}

void XRVaxloShopViewController::presentMapWithStore(const QVariantMap &store)
{
    appDelegate()->stopTrackingLocation();
    auto *map = new XRMapStoreLocatorViewController;
    map->setDelegate(this);
    map->setCurrentStore(store);
    presentModalViewController(map, true);
    // Without a window to show it on, nobody took the map.
    if (modalViewController() != map)
        delete map;
}

void XRVaxloShopViewController::dismissMap()
{
    dismissModalViewController(true);
    appDelegate()->startTrackingLocation();
}

XRMapStoreLocatorViewController *XRVaxloShopViewController::mapViewController() const
{
    return qobject_cast<XRMapStoreLocatorViewController *>(modalViewController());
}
