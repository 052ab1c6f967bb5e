#pragma once

#include "XRViewController.h"

class XRApplicationDelegate;

// A base for list screens that need the application delegate; it keeps the
// reference in a plain field.
class XRSuperTableViewController : public XRViewController
{
    Q_OBJECT
public:
    explicit XRSuperTableViewController(QObject *parent = nullptr);

protected:
    void viewDidLoad() override;

    XRApplicationDelegate *appDelegate = nullptr;
};
