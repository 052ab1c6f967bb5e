#include "XRMainInterface.h"

#include "XRCurrencyViewController.h"
#include "XRPrefsViewController.h"
#include "XRTabBarController.h"

namespace xr {

XRTabBarController *makeMainTabBarController(QObject *parent)
{
    auto *tabs = new XRTabBarController(parent);
    tabs->setViewControllers({new XRCurrencyViewController, new XRPrefsViewController});
    return tabs;
}

} // namespace xr
