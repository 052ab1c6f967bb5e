#pragma once

#include "XRSuperViewController.h"
#include "ZOTableAlert.h"

#include <QVariantList>

#include <memory>

class QButtonGroup;
class QPushButton;

// The preferences tab: the language, which decides the market the other
// screens show, and the default store, chosen from the current market's stores.
class XRPrefsViewController : public XRSuperViewController, public ZOTableAlertDelegate, public ZOTableAlertDataSource
{
    Q_OBJECT
public:
    explicit XRPrefsViewController(QObject *parent = nullptr);
    ~XRPrefsViewController() override;

    ZOTableAlert *alert() const { return m_alert.get(); }

    void viewWillAppear(bool animated) override;

    void defaultStoreButtonPushed();
    void languageSegmentedControlChanged(int index);
    void setupButton();

    int numberOfRowsInTableAlert(ZOTableAlert *tableAlert) override;
    XRTableViewCell *tableAlertCellForRow(ZOTableAlert *tableAlert, int row) override;
    void tableAlertDidSelectRow(ZOTableAlert *tableAlert, int row) override;

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

private:
    QVariantList sortedStores() const;

    QButtonGroup *m_languageSegmentedControl = nullptr;
    QPushButton *m_defaultStoreButton = nullptr;
    std::unique_ptr<ZOTableAlert> m_alert;
};
