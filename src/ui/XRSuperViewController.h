#pragma once

#include "XRViewController.h"

class XRApplicationDelegate;

// The base of the screens that share the application's state: it hands them
// the application delegate.
class XRSuperViewController : public XRViewController
{
    Q_OBJECT
public:
    explicit XRSuperViewController(QObject *parent = nullptr);

    XRApplicationDelegate *appDelegate() const { return m_appDelegate; }
    void setAppDelegate(XRApplicationDelegate *delegate) { m_appDelegate = delegate; }

protected:
    void viewDidLoad() override;

private:
    XRApplicationDelegate *m_appDelegate;
};
