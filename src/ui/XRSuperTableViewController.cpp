#include "XRSuperTableViewController.h"

#include "XRApplication.h"

XRSuperTableViewController::XRSuperTableViewController(QObject *parent)
    : XRViewController(parent)
{
    appDelegate = XRApplication::sharedApplication().delegate();
}

void XRSuperTableViewController::viewDidLoad()
{
    XRViewController::viewDidLoad();
    appDelegate = XRApplication::sharedApplication().delegate();
}
