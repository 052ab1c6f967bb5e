#pragma once

#include "XRViewController.h"

class XRAppDelegate;

// The base of the screens that share the application's state: it hands them
// the application delegate.
class XRSuperViewController : public XRViewController
{
    Q_OBJECT
public:
    explicit XRSuperViewController(QObject *parent = nullptr);

    XRAppDelegate *appDelegate() const { return m_appDelegate; }
    void setAppDelegate(XRAppDelegate *delegate) { m_appDelegate = delegate; }

protected:
    void viewDidLoad() override;

private:
    XRAppDelegate *m_appDelegate;
};
