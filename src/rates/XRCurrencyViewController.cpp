#include "XRCurrencyViewController.h"

#include "XRApplicationDelegate.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRCurrencyView.h"
#include "XRDecimalPadValidator.h"
#include "XRFittingFont.h"
#include "XRImage.h"
#include "XRLocalizedString.h"
#include "XRLog.h"
#include "XRMarkets.h"
#include "XRNavigationController.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRReserverViewController.h"
#include "XRWindow.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int pickerAnimationMilliseconds = 500;
constexpr int editingAnimationMilliseconds = 300;
// Where the picker panel rests in sight, and out of sight below the screen.
constexpr int pickerShownY = 220;
constexpr int pickerHiddenY = 536;

const char screenStyle[] =
    "XRCurrencyView { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dfe5ee); }"
    "QPushButton#pickCurrencyButton { color: #1d3d6e; background: white;"
    " border: 1px solid #8a9ab5; border-radius: 8px; }"
    "QPushButton#pickCurrencyButton:disabled { color: #9aa3b0; }"
    "QPushButton#buySegment, QPushButton#sellSegment { font-size: 14px; font-weight: bold; color: #1d3d6e;"
    " background: #f3f5f9; border: 1px solid #5a6f95; }"
    "QPushButton#buySegment { border-top-left-radius: 6px; border-bottom-left-radius: 6px; }"
    "QPushButton#sellSegment { border-top-right-radius: 6px; border-bottom-right-radius: 6px; }"
    "QPushButton#buySegment:checked, QPushButton#sellSegment:checked { color: white; background: #3f6ab0; }"
    "QLineEdit#amountTF { font-size: 18px; padding: 4px 8px; border: 1px solid #8a9ab5; border-radius: 6px;"
    " background: white; color: black; }"
    "QLabel { color: black; background: transparent; }"
    "QLabel#swiftTransactionLabel, QLabel#baseTransactionLabel { color: #556; font-size: 12px; }"
    "QLabel#baseDestinationLabel, QLabel#swiftDestinationLabel { font-size: 20px; font-weight: bold;"
    " color: #1d3d6e; }"
    "QLabel#swiftSourceLabel, QLabel#baseSourceLabel { font-size: 14px; }"
    "QPushButton#reserveButton { font-size: 15px; font-weight: bold; color: white; background: #2e7d32;"
    " border: 1px solid #1b5e20; border-radius: 8px; }"
    "QPushButton#reserveButton:disabled { color: #e8eee8; background: #9db59e; border-color: #8aa28b; }";

XRMarket currentMarket()
{
    return xr::marketForLanguageIndex(xr::storedLanguageIndex());
}

// Long names shrink to fit the picker button rather than lose their end.
QFont pickButtonFont()
{
    QFont font;
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QRect &frame)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(frame);
    return label;
}

} // namespace

XRCurrencyViewController::XRCurrencyViewController(QObject *parent)
    : XRSuperViewController(parent)
{
    setTitle(XRLocalizedString("Currency"));
    setTabBarItem(XRLocalizedString("Currency"), xr::pngIcon(QStringLiteral(":/images/tab-currency.png")));
    setViewStyleSheet(screenStyle);
}

XRCurrencyViewController::~XRCurrencyViewController()
{
    XRNotificationCenter::defaultCenter().removeObserver(this);
    delete m_pickerPanel;
}

QWidget *XRCurrencyViewController::loadView()
{
    m_view = new XRCurrencyView;
    m_view->setMyVC(this);
    m_view->setAttribute(Qt::WA_StyledBackground);
    m_view->resize(320, 411);
    makeConverterControls();
    makeConversionLabels();
    makeReserveButton();
    makeStatusLine();
    return m_view;
}

// The picker button, the buy/sell control and the amount field, top down.
void XRCurrencyViewController::makeConverterControls()
{
    m_pickCurrencyButton = new QPushButton(m_view);
    m_pickCurrencyButton->setObjectName(QStringLiteral("pickCurrencyButton"));
    m_pickCurrencyButton->setGeometry(20, 10, 280, 40);
    connect(m_pickCurrencyButton, &QPushButton::clicked, this, &XRCurrencyViewController::pickCurrency);

    m_transTypeControl = new QButtonGroup(m_view);
    m_transTypeControl->setExclusive(true);
    const char *segmentNames[] = {"buySegment", "sellSegment"};
    const char *segmentTitles[] = {"Buy", "Sell"};
    for (int segment = 0; segment < 2; ++segment) {
        auto *button = new QPushButton(XRLocalizedString(segmentTitles[segment]), m_view);
        button->setObjectName(QString::fromLatin1(segmentNames[segment]));
        button->setCheckable(true);
        button->setGeometry(20 + segment * 140, 58, 140, 32);
        m_transTypeControl->addButton(button, segment);
    }
    m_transTypeControl->button(XRCurrencyConverter::buySegment)->setChecked(true);
    // The state, not the click: a screen reader's press and the keyboard change it too.
    connect(m_transTypeControl, &QButtonGroup::idToggled, this, [this](int segment, bool checked) {
        if (checked && m_converter)
            transTypeChanged(segment);
    });

    m_amountTF = new QLineEdit(m_view);
    m_amountTF->setObjectName(QStringLiteral("amountTF"));
    m_amountTF->setGeometry(20, 98, 280, 34);
    m_amountTF->setPlaceholderText(XRLocalizedString("Amount"));
    m_amountTF->setAccessibleName(XRLocalizedString("Amount"));
    m_amountTF->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    m_amountTF->setValidator(new XRDecimalPadValidator(m_amountTF));
    m_amountTF->installEventFilter(this);
    connect(m_amountTF, &QLineEdit::textChanged, this, &XRCurrencyViewController::amountChanged);
    connect(m_amountTF, &QLineEdit::returnPressed, this, &XRCurrencyViewController::stopEditingAmount);
}

void XRCurrencyViewController::makeConversionLabels()
{
    m_swiftSourceLabel = makeLabel(m_view, "swiftSourceLabel", QRect(20, 140, 280, 18));
    m_swiftTransactionLabel = makeLabel(m_view, "swiftTransactionLabel", QRect(20, 158, 280, 16));
    m_baseDestinationLabel = makeLabel(m_view, "baseDestinationLabel", QRect(20, 174, 280, 26));
    m_baseSourceLabel = makeLabel(m_view, "baseSourceLabel", QRect(20, 208, 280, 18));
    m_baseTransactionLabel = makeLabel(m_view, "baseTransactionLabel", QRect(20, 226, 280, 16));
    m_swiftDestinationLabel = makeLabel(m_view, "swiftDestinationLabel", QRect(20, 242, 280, 26));
}

void XRCurrencyViewController::makeReserveButton()
{
    m_reserveButton = new QPushButton(XRLocalizedString("Reserve currency"), m_view);
    m_reserveButton->setObjectName(QStringLiteral("reserveButton"));
    m_reserveButton->setGeometry(20, 278, 280, 36);
    connect(m_reserveButton, &QPushButton::clicked, this, &XRCurrencyViewController::reserveCurrency);
}

void XRCurrencyViewController::makeStatusLine()
{
    m_lastUpdateLabel = makeLabel(m_view, "lastUpdateLabel", QRect(12, 322, 296, 60));
    m_lastUpdateLabel->setWordWrap(true);
    m_lastUpdateLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont small = m_lastUpdateLabel->font();
    small.setPixelSize(11);
    m_lastUpdateLabel->setFont(small);
}

void XRCurrencyViewController::viewDidLoad()
{
    XRSuperViewController::viewDidLoad();
    m_currencyList = std::make_unique<XRCurrencyDownloader>(appDelegate());
    m_converter = std::make_unique<XRCurrencyConverter>(*m_currencyList, *appDelegate());
    registerObservers();
    m_selectedRow = notFound;
    showKeptRatesAndLoad();

    m_retryTimer = new QTimer(this);
    m_retryTimer->setObjectName(QStringLiteral("ratesRetryTimer"));
    m_retryTimer->setInterval(retryIntervalMilliseconds);
    connect(m_retryTimer, &QTimer::timeout, this, &XRCurrencyViewController::retryLoading);
    m_retryTimer->start();
    // The view rises for an on-screen keyboard only while one is shown.
    connect(QGuiApplication::inputMethod(), &QInputMethod::visibleChanged, this,
            &XRCurrencyViewController::moveView);
}

void XRCurrencyViewController::registerObservers()
{
    auto &center = XRNotificationCenter::defaultCenter();
    center.addObserver(this, XRCurrenciesDidEndParsingNotification, [this](const XRNotification &) { setupCurrencies(); });
    center.addObserver(this, XRCurrenciesDidFailLoadingNotification,
                       [this](const XRNotification &) { failedLoadingCurrencies(); });
    center.addObserver(this, XRLanguageChangedNotification, [this](const XRNotification &) { languageChanged(); });
    center.addObserver(this, UIApplicationDidBecomeActiveNotification, [this](const XRNotification &) { loadCurrencies(); });
}

void XRCurrencyViewController::viewDidUnload()
{
    XRNotificationCenter::defaultCenter().removeObserver(this);
    QGuiApplication::inputMethod()->disconnect(this);
    delete m_retryTimer;
    m_retryTimer = nullptr;
    XRSuperViewController::viewDidUnload();
}

void XRCurrencyViewController::viewDidAppear(bool animated)
{
    XRSuperViewController::viewDidAppear(animated);
    qCInfo(lcRates, "Currency viewDidAppear");
    setupGUI();
    if (!currenciesArray().isEmpty())
        m_pickCurrencyButton->setEnabled(true);
    else
        loadCurrencies();
}

QVariantList XRCurrencyViewController::currenciesArray() const
{
    return m_converter ? m_converter->currenciesArray() : QVariantList();
}

QVariantMap XRCurrencyViewController::currentCurrency() const
{
    return m_converter ? m_converter->currentCurrency()
                       : XRCurrencyConverter::defaultCurrency(currentMarket());
}

QString XRCurrencyViewController::ammount() const
{
    return m_amountTF ? m_amountTF->text() : QString();
}

QString XRCurrencyViewController::sellCashAmmount() const
{
    return m_converter ? m_converter->sellCashAmmount() : QString();
}

QString XRCurrencyViewController::swiftCode() const
{
    return currentCurrency().value(QStringLiteral("swift_code")).toString();
}

QString XRCurrencyViewController::baseSwiftCode() const
{
    return currentCurrency().value(QStringLiteral("base_swift")).toString();
}

// The market's last good rates at once, then the network's.
void XRCurrencyViewController::showKeptRatesAndLoad()
{
    const bool kept = m_currencyList->loadKeptCurrencies();
    loadCurrencies();
    // Without rates of this market the screen says they are on their way.
    if (!kept)
        setupGUI();
}

void XRCurrencyViewController::retryLoading()
{
    const QWidget *window = m_view->window();
    if (window->isVisible() && !window->isMinimized())
        loadCurrencies();
}

void XRCurrencyViewController::loadCurrencies()
{
    if (m_loading || !m_currencyList)
        return;
    m_loading = true;
    m_pickCurrencyButton->setEnabled(false);
    // The screen says "Loading data..." in the first frame; the network waits until it is drawn.
    const auto load = [screen = QPointer<XRCurrencyViewController>(this)] {
        if (screen && screen->m_currencyList)
            screen->m_currencyList->loadCurrenciesAndNotify();
    };
    if (XRWindow *window = XRWindow::mainWindow())
        window->afterFirstFrame(load);
    else
        load();
}

void XRCurrencyViewController::setupGUI()
{
    if (!m_converter)
        return;
    const QVariantMap &currencyDict = appDelegate()->currencyDict();
    if (currencyDict.value(QStringLiteral("transType")).toString() == QLatin1String("sell"))
        m_transTypeControl->button(XRCurrencyConverter::sellSegment)->setChecked(true);
    if (currencyDict.contains(QStringLiteral("amount")))
        m_amountTF->setText(currencyDict.value(QStringLiteral("amount")).toString());
    const QVariantMap currency = currentCurrency();
    m_pickCurrencyButton->setText(QStringLiteral("%1, %2").arg(currency.value(QStringLiteral("swift_name")).toString(),
                                                                currency.value(QStringLiteral("swift_code")).toString()));
    m_pickCurrencyButton->setFont(xr::fittingFont(pickButtonFont(), m_pickCurrencyButton->text(),
                                                  m_pickCurrencyButton->width() - 16));
    setLabels();
    // Without rates there is nothing to convert: the status line says why.
    if (!m_converter->hasRates()) {
        setStatusLine(m_loading ? XRCurrencyConverter::StatusLine{XRLocalizedString("Loading data..."),
                                                                   XRCurrencyConverter::StatusLine::Colour::Black}
                                : m_converter->failedStatusLine());
    }
}

void XRCurrencyViewController::setLabels()
{
    m_converter->setAmountText(m_amountTF->text());
    m_converter->setTransTypeSegment(m_transTypeControl->checkedId());
    const XRCurrencyConverter::Labels labels =
        m_converter->hasRates() ? m_converter->displayLabels(xr::marketLocale(currentMarket())) : XRCurrencyConverter::Labels();
    m_swiftSourceLabel->setText(labels.swiftSourceLabel);
    m_swiftTransactionLabel->setText(labels.swiftTransactionLabel);
    m_baseDestinationLabel->setText(labels.baseDestinationLabel);
    m_baseSourceLabel->setText(labels.baseSourceLabel);
    m_baseTransactionLabel->setText(labels.baseTransactionLabel);
    m_swiftDestinationLabel->setText(labels.swiftDestinationLabel);
    // A screen reader says the currencies by name, and each result with what it converts.
    const XRCurrencyConverter::Labels spoken =
        m_converter->hasRates() ? m_converter->spokenLabels(xr::marketLocale(currentMarket())) : XRCurrencyConverter::Labels();
    m_swiftSourceLabel->setAccessibleName(spoken.swiftSourceLabel);
    m_baseDestinationLabel->setAccessibleName(spoken.baseDestinationLabel);
    m_baseDestinationLabel->setAccessibleDescription(spoken.swiftTransactionLabel);
    m_baseSourceLabel->setAccessibleName(spoken.baseSourceLabel);
    m_swiftDestinationLabel->setAccessibleName(spoken.swiftDestinationLabel);
    m_swiftDestinationLabel->setAccessibleDescription(spoken.baseTransactionLabel);
}

void XRCurrencyViewController::setStatusLine(const XRCurrencyConverter::StatusLine &status)
{
    m_lastUpdateLabel->setText(status.text);
    const bool red = status.colour == XRCurrencyConverter::StatusLine::Colour::Red;
    m_lastUpdateLabel->setStyleSheet(red ? QStringLiteral("color: red;") : QStringLiteral("color: black;"));
}

void XRCurrencyViewController::setupCurrencies()
{
    m_loading = false;
    m_pickCurrencyButton->setEnabled(true);
    if (const auto status = m_converter->setupCurrencies())
        setStatusLine(*status);
    // The wheel opens at the picked currency wherever the new list has it.
    const int row = m_converter->currentCurrencyRow();
    if (row >= 0)
        m_selectedRow = row;
    if (m_pickerPanel)
        m_pickerPanel->pickerView()->reloadAllComponents();
    setupGUI();
    if (m_reloadWhenLoaded) {
        // The downloader ignores requests until this notification returns.
        m_reloadWhenLoaded = false;
        QTimer::singleShot(0, this, &XRCurrencyViewController::languageChanged);
    }
}

void XRCurrencyViewController::failedLoadingCurrencies()
{
    m_loading = false;
    m_pickCurrencyButton->setEnabled(!currenciesArray().isEmpty());
    setStatusLine(m_converter->failedStatusLine());
    setLabels();
    if (m_reloadWhenLoaded) {
        m_reloadWhenLoaded = false;
        QTimer::singleShot(0, this, &XRCurrencyViewController::languageChanged);
    }
}

void XRCurrencyViewController::languageChanged()
{
    // A load for the old market may still run; the new market's rates are
    // shown and fetched as soon as it ends, so that the old market's never stay.
    m_selectedRow = notFound;
    if (m_loading) {
        m_reloadWhenLoaded = true;
        return;
    }
    showKeptRatesAndLoad();
}

void XRCurrencyViewController::pickCurrency()
{
    presentPicker();
}

void XRCurrencyViewController::amountChanged(const QString &)
{
    setLabels();
}

void XRCurrencyViewController::transTypeChanged(int segment)
{
    m_converter->transTypeChanged(segment);
    // The texts follow the choice at once rather than at the next edit.
    setLabels();
}

void XRCurrencyViewController::reserveCurrency()
{
    auto *form = new XRReserverViewController;
    form->setCurrencyVC(this);
    presentModalViewController(new XRNavigationController(form), true);
}

void XRCurrencyViewController::stopEditingAmount()
{
    if (m_amountTF && m_amountTF->hasFocus())
        m_amountTF->clearFocus();
}

bool XRCurrencyViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_amountTF) {
        if (event->type() == QEvent::FocusIn && !m_editing)
            textFieldDidBeginEditing();
        else if (event->type() == QEvent::FocusOut && m_editing)
            textFieldDidEndEditing();
    }
    return XRSuperViewController::eventFilter(watched, event);
}

void XRCurrencyViewController::textFieldDidBeginEditing()
{
    m_editing = true;
    moveView();
}

void XRCurrencyViewController::textFieldDidEndEditing()
{
    m_editing = false;
    m_converter->setAmountText(m_amountTF->text());
    m_converter->amountEditingDidEnd();
    moveView();
}

void XRCurrencyViewController::moveView()
{
    // The rises add up: editing the amount with the picker up lifts the view by
    // both. A hardware keyboard covers nothing, so only an on-screen one lifts it.
    const bool keyboardShown = m_editing && QGuiApplication::inputMethod()->isVisible();
    const int targetY = -(m_pickerShown ? pickerRise : 0) - (keyboardShown ? editingRise : 0);
    if (m_view->y() == targetY && !m_viewAnimation)
        return;
    if (m_viewAnimation)
        m_viewAnimation->stop();
    auto *animation = new QPropertyAnimation(m_view, "pos", m_view);
    animation->setDuration(keyboardShown ? editingAnimationMilliseconds : pickerAnimationMilliseconds);
    animation->setEasingCurve(QEasingCurve::Linear);
    animation->setStartValue(m_view->pos());
    animation->setEndValue(QPoint(m_view->x(), targetY));
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    m_viewAnimation = animation;
}

void XRCurrencyViewController::slidePanel(int y)
{
    if (m_panelAnimation)
        m_panelAnimation->stop();
    auto *animation = new QPropertyAnimation(m_pickerPanel, "pos", m_pickerPanel);
    animation->setDuration(pickerAnimationMilliseconds);
    animation->setEasingCurve(QEasingCurve::Linear);
    animation->setStartValue(m_pickerPanel->pos());
    animation->setEndValue(QPoint(0, y));
    // A panel slid away is hidden, so that neither the keyboard nor a screen reader finds it.
    if (y == pickerHiddenY) {
        XRPickerPanel *panel = m_pickerPanel;
        connect(animation, &QPropertyAnimation::finished, panel, [panel] { panel->hide(); });
    }
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    m_panelAnimation = animation;
}

void XRCurrencyViewController::presentPicker()
{
    m_pickCurrencyButton->setEnabled(false);
    stopEditingAmount();
    if (!m_pickerPanel) {
        m_pickerPanel = new XRPickerPanel(XRWindow::mainWindow());
        m_pickerPanel->setParentVC(this);
        m_pickerPanel->setupGUI();
    } else {
        m_pickerPanel->move(0, pickerHiddenY);
        m_pickerPanel->pickerView()->reloadAllComponents();
        m_pickerPanel->pickerView()->selectRowInComponent(0, 0, true);
    }
    m_pickerPanel->show();
    m_pickerPanel->raise();
    if (m_selectedRow != notFound)
        m_pickerPanel->pickerView()->selectRowInComponent(int(m_selectedRow), 0, false);
    m_pickerPanel->pickerView()->setFocus();
    m_pickerShown = true;
    moveView();
    slidePanel(pickerShownY);
}

void XRCurrencyViewController::dismissPicker()
{
    if (m_pickerPanel) {
        m_pickerShown = false;
        moveView();
        slidePanel(pickerHiddenY);
    }
    m_pickCurrencyButton->setEnabled(true);
    m_pickCurrencyButton->setFocus();
}

int XRCurrencyViewController::numberOfComponentsInPickerView(XRPickerView *)
{
    return 1;
}

int XRCurrencyViewController::pickerViewNumberOfRowsInComponent(XRPickerView *, int)
{
    return int(currenciesArray().size());
}

QString XRCurrencyViewController::pickerViewTitleForRowForComponent(XRPickerView *, int row, int)
{
    const QVariantMap currency = currenciesArray().value(row).toMap();
    return QStringLiteral("%1, %2").arg(currency.value(QStringLiteral("swift_name")).toString(),
                                        currency.value(QStringLiteral("swift_code")).toString());
}

void XRCurrencyViewController::pickerViewDidSelectRowInComponent(XRPickerView *, int row, int)
{
    m_selectedRow = row;
    m_converter->selectCurrencyAtRow(row);
    setupGUI();
}
