#pragma once

#include "XRActionSheet.h"
#include "XRDatePickerView.h"
#include "XRReserverClient.h"
#include "XRReserverClientDelegate.h"
#include "XRSuperViewController.h"
#include "ZOTableAlert.h"

#include <QPointer>
#include <QVariantList>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class XRCurrencyViewController;

// The reservation form: the customer's name, personal identity number and
// telephone, a store and a collection date for the currency and amount of the
// currency screen that opened it. It checks the fields, asks how the customer
// pays, sends the reservation and shows the service's verdict; a completed
// reservation closes the form, anything else keeps every value typed.
class XRReserverViewController : public XRSuperViewController,
                                 public ZOTableAlertDelegate,
                                 public ZOTableAlertDataSource,
                                 public XRDaterPickerViewDelegate,
                                 public XRReserverClientDelegate,
                                 public XRActionSheetDelegate
{
    Q_OBJECT
public:
    // The colour of a field whose text fails its check.
    static inline const QColor invalidTextColor = QColor::fromRgbF(1.0f, 0.473f, 0.463f, 1.0f);

    explicit XRReserverViewController(QObject *parent = nullptr);
    ~XRReserverViewController() override;

    XRCurrencyViewController *currencyVC() const { return m_currencyVC; }
    void setCurrencyVC(XRCurrencyViewController *currencyVC) { m_currencyVC = currencyVC; }

    // The values the reservation client reads.
    QString langString() const override { return m_langString; }
    QString currency() const override;
    QString ammount() const override;
    QString personalID() const override;
    QString firstName() const override;
    QString lastName() const override;
    QString phone() const override;
    // The date panel's picked date as "yyyy-MM-dd".
    QString date() const override;
    QString branchID() const override { return m_branchID; }
    int paymentMethod() const override { return m_paymentMethod; }

    ZOTableAlert *alert() const { return m_alert.get(); }
    XRDatePickerView *datePicker() const { return m_datePicker; }
    // A reservation is on its way: Reserve and Cancel wait for its verdict.
    bool isReserving() const { return m_client != nullptr; }

    void cancel();
    void reserve();
    void storeButtonPressed();
    void dateButtonPressed();
    // Colours the field by its check and returns the check's result.
    bool validateTextField(QLineEdit *textField);
    void setupButton();

    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    int numberOfRowsInTableAlert(ZOTableAlert *tableAlert) override;
    XRTableViewCell *tableAlertCellForRow(ZOTableAlert *tableAlert, int row) override;
    void tableAlertDidSelectRow(ZOTableAlert *tableAlert, int row) override;

    void datePickerViewDidPickDate(XRDatePickerView *datePickerView, const QDateTime &date) override;
    void datePickerViewdidCancel(XRDatePickerView *datePickerView) override;

    void actionSheetClickedButtonAtIndex(XRActionSheet *actionSheet, int buttonIndex) override;

    void reserverClientDidFinishWithCodeMessageMarket(XRReserverClient *client, int code, const QString &message,
                                                      const QString &market) override;
    void reserverClientDidFailWithError(XRReserverClient *client, const XRError &error) override;
    bool respondsToDidFinish() const override { return true; }
    bool respondsToDidFail() const override { return true; }

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

private:
    void textFieldShouldReturn(QLineEdit *textField);
    void textFieldDidEndEditing(QLineEdit *textField);
    void textFieldDidChange(QLineEdit *textField);
    void setStoreTitle(const QString &name, const QString &city);
    void reservationEnded();
    QVariantList sortedStores() const;

    std::unique_ptr<ZOTableAlert> m_alert;
    QString m_langString;
    QLineEdit *m_firstNameTextField = nullptr;
    QLineEdit *m_lastNameTextField = nullptr;
    QLineEdit *m_personalIDTextField = nullptr;
    QLineEdit *m_phoneTextField = nullptr;
    QLabel *m_infoLabel = nullptr;
    QPushButton *m_storeButton = nullptr;
    QPushButton *m_dateButton = nullptr;
    XRDatePickerView *m_datePicker = nullptr;
    QString m_branchID;
    QPointer<XRCurrencyViewController> m_currencyVC;
    int m_paymentMethod = 0;
    int m_lang = 0;
    // The text checks run only while the form is on screen.
    bool m_observingTextChanges = false;
    // The reservation in flight; the client owns itself.
    QPointer<XRReserverClient> m_client;
};
