#include "XRReserverViewController.h"

#include "XRAlertView.h"
#include "XRApplicationDelegate.h"
#include "XRConfiguration.h"
#include "XRCurrencyViewController.h"
#include "XRLoadingSplashView.h"
#include "XRLocalizedString.h"
#include "XRLog.h"
#include "XRMarkets.h"
#include "XRReservationChecks.h"
#include "XRReserverClient.h"
#include "XRUserDefaults.h"
#include "XRWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char screenStyle[] =
    "QWidget#reserveView { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dfe5ee); }"
    "QLabel { color: black; background: transparent; font-size: 12px; font-weight: bold; }"
    "QLabel#infoLabel { color: #1d3d6e; font-size: 15px; }"
    "QLineEdit { font-size: 14px; padding: 2px 6px; border: 1px solid #8a9ab5; border-radius: 6px;"
    " background: white; }"
    "QLineEdit:disabled { background: #eceff4; }"
    "QPushButton { font-size: 14px; font-weight: bold; color: #1d3d6e; background: white;"
    " border: 1px solid #8a9ab5; border-radius: 8px; padding: 2px; }"
    "QPushButton:pressed { background: #dde5f2; }";

const QString storeCellIdentifier = QStringLiteral("reserveCellIdentifier");
const char reservationErrorKey[] =
    "There was an error in the reservation process, please contact the store or try again later.";

// The label names its field for a screen reader, and describes a button,
// which its own text names.
void makeLabel(const char *key, const QRect &frame, QWidget *control)
{
    auto *label = new QLabel(XRLocalizedString(key), control->parentWidget());
    label->setGeometry(frame);
    label->setWordWrap(true);
    label->setBuddy(control);
    if (qobject_cast<QPushButton *>(control))
        control->setAccessibleDescription(label->text());
}

QLineEdit *makeField(const char *name, const QRect &frame, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(frame);
    return field;
}

QString text(const QLineEdit *field)
{
    return field ? field->text() : QString();
}

} // namespace

XRReserverViewController::XRReserverViewController(QObject *parent)
    : XRSuperViewController(parent)
{
    setViewStyleSheet(screenStyle);
}

XRReserverViewController::~XRReserverViewController()
{
    // A reply that arrives after the form has gone has nobody to tell.
    if (m_client) {
        m_client->setDelegate(nullptr);
        if (appDelegate())
            appDelegate()->dismissLoadingSplash();
    }
}

QWidget *XRReserverViewController::loadView()
{
    auto *view = new QWidget;
    view->setObjectName(QStringLiteral("reserveView"));
    view->setAttribute(Qt::WA_StyledBackground);
    view->resize(320, 416);

    m_infoLabel = new QLabel(view);
    m_infoLabel->setObjectName(QStringLiteral("infoLabel"));
    m_infoLabel->setGeometry(10, 6, 300, 26);
    m_infoLabel->setAlignment(Qt::AlignCenter);

    m_firstNameTextField = makeField("firstNameTextField", QRect(124, 36, 182, 30), view);
    makeLabel("First name", QRect(14, 36, 106, 30), m_firstNameTextField);
    m_lastNameTextField = makeField("lastNameTextField", QRect(124, 72, 182, 30), view);
    makeLabel("Last name", QRect(14, 72, 106, 30), m_lastNameTextField);
    m_personalIDTextField = makeField("personalIDTextField", QRect(124, 108, 182, 30), view);
    makeLabel("Personal ID", QRect(14, 108, 106, 30), m_personalIDTextField);
    m_personalIDTextField->setInputMethodHints(Qt::ImhDigitsOnly);
    m_phoneTextField = makeField("phoneTextField", QRect(124, 144, 182, 30), view);
    makeLabel("Phone", QRect(14, 144, 106, 30), m_phoneTextField);
    m_phoneTextField->setInputMethodHints(Qt::ImhDialableCharactersOnly);

    m_storeButton = new QPushButton(view);
    m_storeButton->setObjectName(QStringLiteral("storeButton"));
    m_storeButton->setGeometry(14, 204, 292, 48);
    makeLabel("Store", QRect(14, 184, 292, 18), m_storeButton);
    m_dateButton = new QPushButton(view);
    m_dateButton->setObjectName(QStringLiteral("dateButton"));
    m_dateButton->setGeometry(14, 282, 292, 36);
    makeLabel("Collection date", QRect(14, 262, 292, 18), m_dateButton);

    connect(m_storeButton, &QPushButton::clicked, this, &XRReserverViewController::storeButtonPressed);
    connect(m_dateButton, &QPushButton::clicked, this, &XRReserverViewController::dateButtonPressed);
    for (QLineEdit *field : {m_firstNameTextField, m_lastNameTextField, m_personalIDTextField, m_phoneTextField}) {
        connect(field, &QLineEdit::textChanged, this, [this, field] { textFieldDidChange(field); });
        connect(field, &QLineEdit::returnPressed, this, [this, field] { textFieldShouldReturn(field); });
        connect(field, &QLineEdit::editingFinished, this, [this, field] { textFieldDidEndEditing(field); });
    }
    return view;
}

void XRReserverViewController::viewDidLoad()
{
    XRSuperViewController::viewDidLoad();
    setTitle(XRLocalizedString("Reserve"));
    setLeftBarButtonItem({XRLocalizedString("Cancel"), [this] { cancel(); }, QStringLiteral("cancelBarButton")});
    setRightBarButtonItem({XRLocalizedString("Reserve"), [this] { reserve(); }, QStringLiteral("reserveBarButton")});

    m_personalIDTextField->setPlaceholderText(XRLocalizedString("PersonalIDSample"));
    m_phoneTextField->setPlaceholderText(XRLocalizedString("PhoneSample"));
    m_lang = XRUserDefaults::standardUserDefaults().integerForKey(QStringLiteral("language"));
    // The Finnish market takes reservations without a personal identity number.
    if (m_lang == 3)
        m_personalIDTextField->setPlaceholderText(XRLocalizedString("PersonalIDOptional"));
    m_personalIDTextField->setEnabled(m_lang != 3);

    m_alert = std::make_unique<ZOTableAlert>(XRLocalizedString("Choose store"), XRLocalizedString("Cancel"));
    m_alert->setDelegate(this);
    m_alert->setDataSource(this);
    setupButton();

    m_datePicker = new XRDatePickerView(view(), this);
    m_dateButton->setText(date());
    m_datePicker->setParent(view());

    if (m_currencyVC)
        m_infoLabel->setText(QStringLiteral("%1 %2 (%3 %4)").arg(m_currencyVC->ammount(), m_currencyVC->swiftCode(),
                                                                m_currencyVC->sellCashAmmount(),
                                                                m_currencyVC->baseSwiftCode()));
}

void XRReserverViewController::viewDidUnload()
{
    m_alert.reset();
    m_datePicker = nullptr;
    m_firstNameTextField = m_lastNameTextField = m_personalIDTextField = m_phoneTextField = nullptr;
    m_infoLabel = nullptr;
    m_storeButton = m_dateButton = nullptr;
    XRSuperViewController::viewDidUnload();
}

void XRReserverViewController::viewDidAppear(bool animated)
{
    XRSuperViewController::viewDidAppear(animated);
    m_observingTextChanges = true;
}

void XRReserverViewController::viewWillDisappear(bool animated)
{
    m_observingTextChanges = false;
    XRSuperViewController::viewWillDisappear(animated);
}

QString XRReserverViewController::currency() const
{
    return m_currencyVC ? m_currencyVC->swiftCode() : QString();
}

QString XRReserverViewController::ammount() const
{
    return m_currencyVC ? m_currencyVC->sellCashAmmount() : QString();
}

QString XRReserverViewController::personalID() const
{
    return text(m_personalIDTextField);
}

QString XRReserverViewController::firstName() const
{
    return text(m_firstNameTextField);
}

QString XRReserverViewController::lastName() const
{
    return text(m_lastNameTextField);
}

QString XRReserverViewController::phone() const
{
    return text(m_phoneTextField);
}

QString XRReserverViewController::date() const
{
    return m_datePicker ? m_datePicker->pickedDate().toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

void XRReserverViewController::cancel()
{
    if (isReserving())
        return;
    dismissModalViewController(true);
}

void XRReserverViewController::storeButtonPressed()
{
    m_alert->show();
}

void XRReserverViewController::dateButtonPressed()
{
    m_datePicker->show();
}

bool XRReserverViewController::validateTextField(QLineEdit *textField)
{
    const xr::ReservationField field = textField == m_personalIDTextField ? xr::ReservationField::PersonalID
                                       : textField == m_phoneTextField    ? xr::ReservationField::Phone
                                                                          : xr::ReservationField::FirstName;
    const bool valid = xr::isValidReservationField(field, textField->text());
    QPalette palette = textField->palette();
    palette.setColor(QPalette::Text, valid ? QColor(Qt::black) : invalidTextColor);
    textField->setPalette(palette);
    return valid;
}

void XRReserverViewController::textFieldShouldReturn(QLineEdit *textField)
{
    if (textField == m_firstNameTextField)
        m_lastNameTextField->setFocus();
    else if (textField == m_lastNameTextField)
        // The Finnish market's disabled number field is passed over.
        (m_personalIDTextField->isEnabled() ? m_personalIDTextField : m_phoneTextField)->setFocus();
    else if (textField == m_personalIDTextField)
        m_phoneTextField->setFocus();
    else if (textField == m_phoneTextField)
        // Return in the last field sends the form, as Reserve does.
        reserve();
}

void XRReserverViewController::textFieldDidEndEditing(QLineEdit *textField)
{
    validateTextField(textField);
}

void XRReserverViewController::textFieldDidChange(QLineEdit *textField)
{
    if (m_observingTextChanges)
        validateTextField(textField);
}

void XRReserverViewController::setStoreTitle(const QString &name, const QString &city)
{
    m_storeButton->setText(name + QLatin1Char('\n') + city);
}

void XRReserverViewController::setupButton()
{
    const QString defaultStore = XRUserDefaults::standardUserDefaults().stringForKey(QStringLiteral("XRDefaultStore"));
    QString name;
    QString city;
    const std::optional<QVariantList> stores = appDelegate() ? appDelegate()->storesArray() : std::nullopt;
    for (const QVariant &value : stores.value_or(QVariantList())) {
        const QVariantMap store = value.toMap();
        const QString id = store.value(QStringLiteral("id")).toString();
        if (id != defaultStore)
            continue;
        name = store.value(QStringLiteral("name")).toString();
        city = store.value(QStringLiteral("city")).toString();
        m_branchID = xr::storeNumber(id);
    }
    if (name.isEmpty())
        m_storeButton->setText(XRLocalizedString("Choose store"));
    else
        setStoreTitle(name, city);
}

QVariantList XRReserverViewController::sortedStores() const
{
    return appDelegate() ? appDelegate()->sortedStoresArray().value_or(QVariantList()) : QVariantList();
}

int XRReserverViewController::numberOfRowsInTableAlert(ZOTableAlert *)
{
    return int(sortedStores().size());
}

XRTableViewCell *XRReserverViewController::tableAlertCellForRow(ZOTableAlert *tableAlert, int row)
{
    XRTableViewCell *cell = tableAlert->tableView()->dequeueReusableCellWithIdentifier(storeCellIdentifier);
    if (!cell)
        cell = new XRTableViewCell(storeCellIdentifier);
    const QVariantMap store = sortedStores().value(row).toMap();
    cell->textLabel()->setText(store.value(QStringLiteral("city")).toString());
    cell->detailTextLabel()->setText(store.value(QStringLiteral("name")).toString());
    return cell;
}

void XRReserverViewController::tableAlertDidSelectRow(ZOTableAlert *, int row)
{
    const QVariantMap store = sortedStores().value(row).toMap();
    setStoreTitle(store.value(QStringLiteral("name")).toString(), store.value(QStringLiteral("city")).toString());
    m_branchID = xr::storeNumber(store.value(QStringLiteral("id")).toString());
}

void XRReserverViewController::datePickerViewDidPickDate(XRDatePickerView *datePickerView, const QDateTime &)
{
    datePickerView->hide();
    m_dateButton->setText(date());
}

void XRReserverViewController::datePickerViewdidCancel(XRDatePickerView *datePickerView)
{
    datePickerView->hide();
}

void XRReserverViewController::reserve()
{
    // One reservation at a time: a second Reserve while one is on its way would book twice.
    if (isReserving())
        return;
    m_lang = XRUserDefaults::standardUserDefaults().integerForKey(QStringLiteral("language"));
    m_langString = xr::marketCodeForLanguageIndex(m_lang);
    qCInfo(lcReservation, "%d, %s", m_lang, qUtf8Printable(m_langString));

    // The checked fields show their colour whatever else is missing.
    validateTextField(m_personalIDTextField);
    validateTextField(m_phoneTextField);
    const xr::ReservationEntries entries{firstName(), lastName(), personalID(), phone(), m_branchID,
                                         currency(),  ammount(),  m_lang};
    if (xr::hasMissingReservationFields(entries)) {
        (new XRAlertView(XRLocalizedString("Missing fields"),
                         XRLocalizedString("One or many of the requried fields are missing or invalid."), nullptr,
                         XRLocalizedString("OK")))
            ->show();
        return;
    }
    const QString baseSwiftCode = m_currencyVC ? m_currencyVC->baseSwiftCode() : QString();
    const QString cash = XRLocalizedString("Cash (%@)");
    (new XRActionSheet(XRLocalizedString("Pick payment method"), this, XRLocalizedString("Cancel"),
                       {XRLocalizedString("Credit Card"), QString(cash).replace(QLatin1String("%@"), baseSwiftCode),
                        QString(cash).replace(QLatin1String("%@"), XRLocalizedString("other currency"))}))
        ->show();
}

void XRReserverViewController::actionSheetClickedButtonAtIndex(XRActionSheet *actionSheet, int buttonIndex)
{
    if (buttonIndex == actionSheet->cancelButtonIndex() || isReserving())
        return;
    XRApplicationDelegate *delegate = appDelegate();
    if (!delegate) {
        qCWarning(lcReservation, "No application delegate: no reservation host to send to");
        return;
    }
    m_paymentMethod = buttonIndex;
    delegate->displayLoadingSplash();
    if (XRWindow *window = XRWindow::mainWindow()) {
        if (auto *splash = window->findChild<XRLoadingSplashView *>())
            splash->setLoadingMessage(XRLocalizedString("Reserving"));
    }
    m_client = XRReserverClient::reserveWithDelegate(this, delegate->configuration());
}

void XRReserverViewController::reservationEnded()
{
    m_client = nullptr;
    if (appDelegate())
        appDelegate()->dismissLoadingSplash();
}

void XRReserverViewController::reserverClientDidFinishWithCodeMessageMarket(XRReserverClient *, int code,
                                                                            const QString &message,
                                                                            const QString &market)
{
    qCInfo(lcReservation, "Code: %d, Message: %s, Market: %s", code, qUtf8Printable(message), qUtf8Printable(market));
    reservationEnded();
    if (code != 0) {
        // An unreadable reply carries no message: the customer still learns why nothing was booked.
        const QString reason = message.isEmpty() ? XRLocalizedString("ReservationNoReason") : message;
        (new XRAlertView(XRLocalizedString("Reservation Error"),
                         QStringLiteral("%1 [%2]").arg(XRLocalizedString(reservationErrorKey), reason),
                         nullptr, XRLocalizedString("OK")))
            ->show();
        return;
    }
    (new XRAlertView(XRLocalizedString("Reservation Completed"), XRLocalizedString("The reservation is now completed"),
                     nullptr, XRLocalizedString("OK")))
        ->show();
    dismissModalViewController(true);
}

void XRReserverViewController::reserverClientDidFailWithError(XRReserverClient *, const XRError &error)
{
    qCInfo(lcReservation, "Reservation failed: %s", qUtf8Printable(error.description()));
    reservationEnded();
    (new XRAlertView(XRLocalizedString("Reservation Error"), XRLocalizedString(reservationErrorKey), nullptr,
                     XRLocalizedString("OK")))
        ->show();
}
