#include "XRMainInterface.h"

#include "XRCurrencyViewController.h"
#include "XRTabBarController.h"
#include "XRVaxloShopViewController.h"

namespace xr {

XRTabBarController *makeMainTabBarController(QObject *parent)
{
    auto *tabs = new XRTabBarController(parent);
    tabs->setViewControllers({new XRCurrencyViewController, new XRVaxloShopViewController});
    return tabs;
}

} // namespace xr
