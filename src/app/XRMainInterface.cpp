#include "XRMainInterface.h"

#include "XRCurrencyViewController.h"
#include "XRTabBarController.h"

namespace xr {

XRTabBarController *makeMainTabBarController(QObject *parent)
{
    auto *tabs = new XRTabBarController(parent);
    tabs->setViewControllers({new XRCurrencyViewController});
    return tabs;
}

} // namespace xr
