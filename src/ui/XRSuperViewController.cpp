#include "XRSuperViewController.h"

#include "XRApplication.h"

XRSuperViewController::XRSuperViewController(QObject *parent)
    : XRViewController(parent)
    , m_appDelegate(XRApplication::sharedApplication().delegate())
{
}

void XRSuperViewController::viewDidLoad()
{
    XRViewController::viewDidLoad();
    m_appDelegate = XRApplication::sharedApplication().delegate();
}
