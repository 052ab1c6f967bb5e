#include "XRPrefsViewController.h"

#include "XRApplicationDelegate.h"
#include "XRImage.h"
#include "XRLocalizedString.h"
#include "XRMarkets.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRUserDefaults.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>

namespace {

const QString defaultStoreKey = QStringLiteral("XRDefaultStore");
const QString defaultStoreNameKey = QStringLiteral("XRDefaultStoreName");
const QString defaultStoreCityKey = QStringLiteral("XRDefaultStoreCity");

const char screenStyle[] =
    "QWidget#prefsView { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dfe5ee); }"
    "QLabel { color: black; background: transparent; }"
    "QLabel#prefsHint { color: #556; font-size: 11px; }"
    "QPushButton[segment=\"true\"] { font-size: 13px; font-weight: bold; color: #1d3d6e; background: #f3f5f9;"
    " border: 1px solid #5a6f95; }"
    "QPushButton[segment=\"true\"]:checked { color: white; background: #3f6ab0; }"
    "QPushButton#defaultStoreButton { font-size: 15px; font-weight: bold; color: #1d3d6e; background: white;"
    " border: 1px solid #8a9ab5; border-radius: 8px; padding: 4px; }";

QLabel *makeHeading(const char *key, const QRect &frame, QWidget *parent)
{
    auto *label = new QLabel(XRLocalizedString(key), parent);
    label->setGeometry(frame);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(15);
    label->setFont(font);
    return label;
}

// A missing value removes the key.
void storeText(XRUserDefaults &defaults, const QVariant &value, const QString &key)
{
    if (value.isValid())
        defaults.setObject(value, key);
    else
        defaults.removeObjectForKey(key);
}

} // namespace

XRPrefsViewController::XRPrefsViewController(QObject *parent)
    : XRSuperViewController(parent)
{
    setTitle(XRLocalizedString("Settings"));
    setTabBarItem(XRLocalizedString("Settings"), xr::pngIcon(QStringLiteral(":/images/tab-prefs.png")));
    setViewStyleSheet(screenStyle);
}

XRPrefsViewController::~XRPrefsViewController() = default;

QWidget *XRPrefsViewController::loadView()
{
    auto *view = new QWidget;
    view->setObjectName(QStringLiteral("prefsView"));
    view->setAttribute(Qt::WA_StyledBackground);
    view->resize(320, 411);

    makeHeading("Language", QRect(20, 20, 280, 22), view);
    // Each language by its own name, whatever the screen's language.
    const QStringList languages{QStringLiteral("Svenska"), QStringLiteral("Dansk"), QStringLiteral("Norsk"),
                                QStringLiteral("Suomi")};
    m_languageSegmentedControl = new QButtonGroup(view);
    m_languageSegmentedControl->setExclusive(true);
    for (int i = 0; i < languages.size(); ++i) {
        auto *segment = new QPushButton(languages[i], view);
        segment->setObjectName(QStringLiteral("languageSegment%1").arg(i));
        segment->setProperty("segment", true);
        segment->setCheckable(true);
        segment->setAccessibleDescription(XRLocalizedString("LanguageMarketHint"));
        segment->setGeometry(20 + i * 70, 48, 70, 34);
        m_languageSegmentedControl->addButton(segment, i);
    }
    auto *hint = new QLabel(XRLocalizedString("LanguageMarketHint"), view);
    hint->setObjectName(QStringLiteral("prefsHint"));
    hint->setGeometry(20, 86, 280, 32);
    hint->setWordWrap(true);

    makeHeading("Default store", QRect(20, 136, 280, 22), view);
    m_defaultStoreButton = new QPushButton(view);
    m_defaultStoreButton->setObjectName(QStringLiteral("defaultStoreButton"));
    m_defaultStoreButton->setGeometry(20, 164, 280, 60);
    m_defaultStoreButton->setAccessibleDescription(XRLocalizedString("Default store"));
    connect(m_defaultStoreButton, &QPushButton::clicked, this, &XRPrefsViewController::defaultStoreButtonPushed);
    return view;
}

void XRPrefsViewController::viewDidLoad()
{
    XRSuperViewController::viewDidLoad();
    if (QAbstractButton *segment = m_languageSegmentedControl->button(xr::storedLanguageIndex()))
        segment->setChecked(true);
    // The state, not the click: a screen reader's toggle and the keyboard change the language too.
    connect(m_languageSegmentedControl, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            languageSegmentedControlChanged(index);
    });
    m_alert = std::make_unique<ZOTableAlert>(XRLocalizedString("Choose store"), XRLocalizedString("Cancel"));
    m_alert->setDelegate(this);
    m_alert->setDataSource(this);
}

void XRPrefsViewController::viewDidUnload()
{
    m_alert.reset();
    m_languageSegmentedControl = nullptr;
    m_defaultStoreButton = nullptr;
    XRSuperViewController::viewDidUnload();
}

void XRPrefsViewController::viewWillAppear(bool animated)
{
    XRSuperViewController::viewWillAppear(animated);
    setupButton();
}

void XRPrefsViewController::defaultStoreButtonPushed()
{
    m_alert->show();
}

void XRPrefsViewController::languageSegmentedControlChanged(int index)
{
    XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
    defaults.setObject(index, QStringLiteral("language"));
    // The city is shown only with a name, so it may stay.
    defaults.removeObjectForKey(defaultStoreKey);
    defaults.removeObjectForKey(defaultStoreNameKey);
    defaults.synchronize();
    setupButton();
    XRNotificationCenter::defaultCenter().postNotificationName(XRLanguageChangedNotification);
}

void XRPrefsViewController::setupButton()
{
    if (!m_defaultStoreButton)
        return;
    const XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
    const QString name = defaults.stringForKey(defaultStoreNameKey);
    const QString city = defaults.stringForKey(defaultStoreCityKey);
    // Name over city on two lines; without a default store the invitation alone, on one.
    m_defaultStoreButton->setText(name.isEmpty() ? XRLocalizedString("Choose default store")
                                                 : name + QLatin1Char('\n') + city);
}

QVariantList XRPrefsViewController::sortedStores() const
{
    return appDelegate() ? appDelegate()->sortedStoresArray().value_or(QVariantList()) : QVariantList();
}

int XRPrefsViewController::numberOfRowsInTableAlert(ZOTableAlert *)
{
    return int(sortedStores().size());
}

XRTableViewCell *XRPrefsViewController::tableAlertCellForRow(ZOTableAlert *tableAlert, int row)
{
    const QString identifier = QStringLiteral("prefsCellIdentifier");
    XRTableViewCell *cell = tableAlert->tableView()->dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        cell = new XRTableViewCell(identifier);
    const QVariantMap store = sortedStores().value(row).toMap();
    cell->textLabel()->setText(store.value(QStringLiteral("city")).toString());
    cell->detailTextLabel()->setText(store.value(QStringLiteral("name")).toString());
    const bool isDefault = store.value(QStringLiteral("id")).toString()
                           == XRUserDefaults::standardUserDefaults().stringForKey(defaultStoreKey);
    cell->setAccessoryType(isDefault ? XRTableViewCell::AccessoryCheckmark : XRTableViewCell::AccessoryNone);
    return cell;
}

void XRPrefsViewController::tableAlertDidSelectRow(ZOTableAlert *tableAlert, int row)
{
    tableAlert->tableView()->deselectRowAtIndexPath({0, row}, false);
    const QVariantMap store = sortedStores().value(row).toMap();
    XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
    storeText(defaults, store.value(QStringLiteral("id")), defaultStoreKey);
    storeText(defaults, store.value(QStringLiteral("name")), defaultStoreNameKey);
    storeText(defaults, store.value(QStringLiteral("city")), defaultStoreCityKey);
    defaults.synchronize();
    setupButton();
}
