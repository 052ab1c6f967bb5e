#include "XRMainInterface.h"

#include "XRCurrencyViewController.h"
#include "XRImage.h"
#include "XRLocalizedString.h"
#include "XRNavigationController.h"
#include "XRNewsViewController.h"
#include "XRPrefsViewController.h"
#include "XRTabBarController.h"
#include "XRVaxloShopViewController.h"

namespace xr {

XRTabBarController *makeMainTabBarController(QObject *parent)
{
    auto *tabs = new XRTabBarController(parent);
    auto *news = new XRNavigationController(new XRNewsViewController);
    news->setTabBarItem(XRLocalizedString("News"), xr::pngIcon(QStringLiteral(":/images/tab-news.png")));
    tabs->setViewControllers({new XRCurrencyViewController, new XRVaxloShopViewController, news, new XRPrefsViewController});
    return tabs;
}

} // namespace xr
