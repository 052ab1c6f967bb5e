#pragma once

class XRTabBarController;
class QObject;

namespace xr {

// The application's tabs, in order, each with its icon and translated title.
XRTabBarController *makeMainTabBarController(QObject *parent);

} // namespace xr
