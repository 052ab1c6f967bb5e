#pragma once

#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRPickerPanel.h"
#include "XRSuperViewController.h"

#include <QPointer>

#include <memory>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPropertyAnimation;
class QPushButton;
class QTimer;
class XRCurrencyView;

// The converter tab: the user picks a currency on a wheel, types an amount and
// chooses buy or sell, and sees what it comes to both ways, in the market's
// number format, with the age of the rates and a button that reserves the
// amount. The last good rates show at once, and the rates are fetched again
// every few minutes while the window is shown.
class XRCurrencyViewController : public XRSuperViewController, public XRPickerPanelOwner
{
    Q_OBJECT
public:
    // The selected row when the user has chosen none.
    static constexpr qint64 notFound = 2147483647;
    // How far the view rises while the picker is up, and while the amount is edited.
    static constexpr int pickerRise = 35;
    static constexpr int editingRise = 30;
    static constexpr int retryIntervalMilliseconds = 5 * 60 * 1000;

    explicit XRCurrencyViewController(QObject *parent = nullptr);
    ~XRCurrencyViewController() override;

    XRCurrencyDownloader *currencyList() const { return m_currencyList.get(); }
    XRCurrencyConverter *converter() const { return m_converter.get(); }
    XRPickerPanel *pickerPanel() const { return m_pickerPanel; }
    bool isLoading() const { return m_loading; }
    qint64 selectedRow() const { return m_selectedRow; }

    // What the reservation form reads.
    QVariantList currenciesArray() const;
    QVariantMap currentCurrency() const;
    QString ammount() const;
    QString sellCashAmmount() const;
    QString swiftCode() const;
    QString baseSwiftCode() const;

    void loadCurrencies(XRCurrencyDownloader::FailureAlert alert = XRCurrencyDownloader::FailureAlert::Shown);
    void setupGUI();
    void setupCurrencies();
    void failedLoadingCurrencies();
    void languageChanged();
    void pickCurrency();
    void amountChanged(const QString &text);
    void transTypeChanged(int segment);
    void reserveCurrency();
    void stopEditingAmount();
    void textFieldDidBeginEditing();
    void textFieldDidEndEditing();
    void presentPicker();
    void dismissPicker() override;

    int numberOfComponentsInPickerView(XRPickerView *pickerView) override;
    int pickerViewNumberOfRowsInComponent(XRPickerView *pickerView, int component) override;
    QString pickerViewTitleForRowForComponent(XRPickerView *pickerView, int row, int component) override;
    void pickerViewDidSelectRowInComponent(XRPickerView *pickerView, int row, int component) override;

    void viewDidAppear(bool animated) override;

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeConverterControls();
    void makeConversionLabels();
    void makeReserveButton();
    void makeStatusLine();
    void setLabels();
    void setStatusLine(const XRCurrencyConverter::StatusLine &status);
    void showKeptRatesAndLoad();
    void retryLoading();
    void moveView();
    void slidePanel(int y);
    void registerObservers();

    std::unique_ptr<XRCurrencyDownloader> m_currencyList;
    std::unique_ptr<XRCurrencyConverter> m_converter;
    QPointer<XRPickerPanel> m_pickerPanel;
    XRCurrencyView *m_view = nullptr;
    QLabel *m_swiftSourceLabel = nullptr;
    QLabel *m_baseSourceLabel = nullptr;
    QLabel *m_baseDestinationLabel = nullptr;
    QLabel *m_swiftDestinationLabel = nullptr;
    QLabel *m_swiftTransactionLabel = nullptr;
    QLabel *m_baseTransactionLabel = nullptr;
    QLabel *m_lastUpdateLabel = nullptr;
    QPushButton *m_pickCurrencyButton = nullptr;
    QButtonGroup *m_transTypeControl = nullptr;
    QLineEdit *m_amountTF = nullptr;
    QPushButton *m_reserveButton = nullptr;
    QTimer *m_retryTimer = nullptr;
    QPointer<QPropertyAnimation> m_viewAnimation;
    QPointer<QPropertyAnimation> m_panelAnimation;
    bool m_loading = false;
    // A change of market arrived while a load ran: load again when it ends.
    bool m_reloadWhenLoaded = false;
    bool m_pickerShown = false;
    bool m_editing = false;
    int m_restingY = 0;
    qint64 m_selectedRow = notFound;
};
