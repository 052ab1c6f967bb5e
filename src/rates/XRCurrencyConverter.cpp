#include "XRCurrencyConverter.h"

#include "XRSharedState.h"
#include "XRCurrencyDownloader.h"
#include "XRDateCategoryVaxlo.h"
#include "XRDecimalText.h"
#include "XRLocalizedString.h"
#include "XRLog.h"

#include <QHash>

#include <cstdlib>

namespace {

const QString currenciesKey = QStringLiteral("currencies");
const QString timestampKey = QStringLiteral("timestamp");
const QString currentCurrencyKey = QStringLiteral("currentCurrency");
const QString transTypeKey = QStringLiteral("transType");
const QString amountKey = QStringLiteral("amount");

const QString swiftCodeKey = QStringLiteral("swift_code");
const QString swiftNameKey = QStringLiteral("swift_name");
const QString baseSwiftKey = QStringLiteral("base_swift");
const QString buyCashKey = QStringLiteral("buy_cash");
const QString sellCashKey = QStringLiteral("sell_cash");
const QString buyTcKey = QStringLiteral("buy_tc");
const QString sellTcKey = QStringLiteral("sell_tc");
const QString multiplyKey = QStringLiteral("multiply");
const QString currencyGuideKey = QStringLiteral("CurrencyGuide");

const QString notQuoted = QStringLiteral("-");
const QString one = QStringLiteral("1");

// Rates this many whole seconds away from now, either way, are still current.
constexpr qint64 freshRatesAge = 86400;

// Each word (a run between white space) with its first character upper case
// and the rest lower case. One-to-one case mappings keep this idempotent ("ß"
// stays "ß" rather than becoming "SS" and then "Ss").
QString capitalized(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (QChar::isSpace(c)) {
            wordStart = true;
        } else {
            c = wordStart ? QChar::toUpper(c) : QChar::toLower(c);
            wordStart = false;
        }
        result += QChar::fromUcs4(c);
    }
    return result;
}

// A row the way the converter reads it: name capitalised, "." as the decimal
// separator, the four rates per one unit of the currency. Keys a row lacks stay
// absent.
QVariantMap tidied(QVariantMap row)
{
    if (const auto name = row.find(swiftNameKey); name != row.end())
        *name = capitalized(name->toString());
    for (const QString &key : {currencyGuideKey, buyCashKey, buyTcKey, sellCashKey, sellTcKey}) {
        if (const auto value = row.find(key); value != row.end())
            *value = value->toString().replace(QLatin1Char(','), QLatin1Char('.'));
    }
    const auto multiply = row.find(multiplyKey);
    if (multiply == row.end() || multiply->toString() == one)
        return row;
    const double units = xr::decimalFromText(multiply->toString());
    qCInfo(lcRates, "NOTE: Adjusting value of %s by / %0.2f", qUtf8Printable(row.value(swiftCodeKey).toString()),
           units);
    *multiply = one;
    for (const QString &key : {buyCashKey, buyTcKey, sellCashKey, sellTcKey}) {
        const auto value = row.find(key);
        if (value != row.end() && value->toString() != notQuoted)
            *value = xr::fixedDecimals(xr::decimalFromText(value->toString()) / units, 6);
    }
    return row;
}

QString withCode(const QString &amount, const QString &code)
{
    return amount + QLatin1Char(' ') + code;
}

// The home currencies of the four markets by name, in the screens' language.
QString homeCurrencyName(const QString &code)
{
    static const QHash<QString, const char *> names{{QStringLiteral("SEK"), "Swedish kronor"},
                                                    {QStringLiteral("DKK"), "Danish kroner"},
                                                    {QStringLiteral("NOK"), "Norwegian kroner"},
                                                    {QStringLiteral("EUR"), "euro"}};
    const char *key = names.value(code);
    return key ? XRLocalizedString(key) : code;
}

} // namespace

XRCurrencyConverter::XRCurrencyConverter(XRCurrencyDownloader &currencyList, XRSharedState &appDelegate)
    : m_currencyList(currencyList)
    , m_appDelegate(appDelegate)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
}

bool XRCurrencyConverter::selectCurrencyAtRow(int row)
{
    const QVariantList rows = currenciesArray();
    if (row < 0 || row >= rows.size()) {
        qCWarning(lcRates, "No currency at row %d of %lld", row, static_cast<long long>(rows.size()));
        return false;
    }
    m_appDelegate.currencyDict().insert(currentCurrencyKey, rows.at(row));
    return true;
}

void XRCurrencyConverter::transTypeChanged(int segment)
{
    m_transTypeSegment = segment;
    m_appDelegate.currencyDict().insert(transTypeKey, segment == sellSegment ? QStringLiteral("sell")
                                                                              : QStringLiteral("buy"));
    m_appDelegate.storeCurrency();
}

void XRCurrencyConverter::amountEditingDidEnd()
{
    m_appDelegate.currencyDict().insert(amountKey, m_amountText);
    m_appDelegate.storeCurrency();
}

QVariantList XRCurrencyConverter::currenciesArray() const
{
    return m_currencyList.dataDict().value(currenciesKey).toList();
}

void XRCurrencyConverter::tidyCurrencyArray()
{
    QVariantMap &data = m_currencyList.dataDict();
    if (const auto currencies = data.find(currenciesKey); currencies != data.end()) {
        QVariantList rows = currencies->toList();
        for (QVariant &row : rows)
            row = tidied(row.toMap());
        *currencies = rows;
    }
    qCInfo(lcRates, "cleaned CurrencyArray");
}

QVariantMap XRCurrencyConverter::currentCurrency() const
{
    const QVariant picked = m_appDelegate.currencyDict().value(currentCurrencyKey);
    if (picked.typeId() == QMetaType::QVariantMap)
        return picked.toMap();
    return defaultCurrency(xr::marketForLanguageIndex(xr::storedLanguageIndex()));
}

QVariantMap XRCurrencyConverter::defaultCurrency(XRMarket market)
{
    const QString home = xr::homeCurrency(market);
    return {
        {swiftCodeKey, home},
        {swiftNameKey, XRLocalizedString("Choose currency")},
        {baseSwiftKey, home},
        {buyCashKey, QStringLiteral("1.0")},
        {sellCashKey, QStringLiteral("1.0")},
        {buyTcKey, notQuoted},
        {sellTcKey, notQuoted},
        {multiplyKey, one},
        {currencyGuideKey, QStringLiteral("1.0")},
    };
}

QString XRCurrencyConverter::swiftCode() const
{
    return currentCurrency().value(swiftCodeKey).toString();
}

QString XRCurrencyConverter::baseSwiftCode() const
{
    return currentCurrency().value(baseSwiftKey).toString();
}

int XRCurrencyConverter::currentCurrencyRow() const
{
    if (!m_appDelegate.currencyDict().contains(currentCurrencyKey))
        return -1;
    const QString code = swiftCode();
    const QVariantList rows = currenciesArray();
    for (int row = 0; row < rows.size(); ++row) {
        if (rows[row].toMap().value(swiftCodeKey).toString() == code)
            return row;
    }
    return -1;
}

XRCurrencyConverter::Labels XRCurrencyConverter::labels(const std::function<QString(double)> &format,
                                                        bool namesForCodes) const
{
    const QVariantMap currency = currentCurrency();
    QString swift = currency.value(swiftCodeKey).toString();
    QString base = currency.value(baseSwiftKey).toString();
    if (namesForCodes) {
        // The default currency is the home currency itself, named "Choose currency".
        swift = swift == base ? homeCurrencyName(base) : currency.value(swiftNameKey).toString();
        base = homeCurrencyName(base);
    }
    const bool buying = m_transTypeSegment == buySegment;
    const double amount = xr::amountFromText(m_amountText);
    const double rate = xr::decimalFromText(currency.value(buying ? sellCashKey : buyCashKey).toString());

    Labels labels;
    labels.swiftSourceLabel = withCode(m_amountText, swift);
    labels.swiftTransactionLabel = XRLocalizedString(buying ? "sold for:" : "gives you:");
    labels.baseDestinationLabel = withCode(format(amount * rate), base);
    labels.baseSourceLabel = withCode(m_amountText, base);
    labels.baseTransactionLabel = XRLocalizedString(buying ? "gives you:" : "sold for:");
    // An unquoted rate reads as 0, and the quotient would show as "inf" or "nan".
    labels.swiftDestinationLabel = withCode(rate == 0.0 ? notQuoted : format(amount / rate), swift);
    return labels;
}

XRCurrencyConverter::Labels XRCurrencyConverter::setLabels() const
{
    return labels([](double value) { return xr::fixedDecimals(value, 2); }, false);
}

XRCurrencyConverter::Labels XRCurrencyConverter::displayLabels(const QLocale &locale, bool namesForCodes) const
{
    // The locale's form of the very digits the stored form prints, so that the
    // screen and the reservation never differ by a rounding.
    return labels([&locale](double value) { return xr::localizedDecimal(xr::fixedDecimals(value, 2), locale); },
                  namesForCodes);
}

XRCurrencyConverter::Labels XRCurrencyConverter::spokenLabels(const QLocale &locale) const
{
    Labels spoken = displayLabels(locale, true);
    // Each result is read with what it is the result of.
    const QString sentence = QStringLiteral("%1 = %2");
    spoken.baseDestinationLabel = sentence.arg(spoken.swiftSourceLabel, spoken.baseDestinationLabel);
    spoken.swiftDestinationLabel = sentence.arg(spoken.baseSourceLabel, spoken.swiftDestinationLabel);
    return spoken;
}

QString XRCurrencyConverter::sellCashAmmount() const
{
    const double amount = xr::amountFromText(m_amountText);
    return xr::fixedDecimals(amount * xr::decimalFromText(currentCurrency().value(sellCashKey).toString()), 2);
}

std::optional<XRCurrencyConverter::StatusLine> XRCurrencyConverter::setupCurrencies()
{
    std::optional<StatusLine> status;
    const QVariantMap &data = m_currencyList.dataDict();
    if (const auto timestamp = data.constFind(timestampKey); timestamp != data.cend()) {
        const QString text = timestamp->toString();
        m_appDelegate.currencyDict().insert(timestampKey, text);
        status = statusLine(text);
    }
    tidyCurrencyArray();
    refreshCurrentCurrency();
    m_appDelegate.storeCurrency();
    return status;
}

// The pick converts at today's rates, never at those of the day it was made.
void XRCurrencyConverter::refreshCurrentCurrency()
{
    if (!m_appDelegate.currencyDict().contains(currentCurrencyKey))
        return;
    const int row = currentCurrencyRow();
    if (row < 0) {
        qCInfo(lcRates, "Picked currency %s is not in the new rates", qUtf8Printable(swiftCode()));
        m_appDelegate.currencyDict().remove(currentCurrencyKey);
        return;
    }
    m_appDelegate.currencyDict().insert(currentCurrencyKey, currenciesArray().at(row));
}

bool XRCurrencyConverter::isOld(const QString &timestamp) const
{
    // A timestamp that is not a date counts as current.
    const std::optional<QDateTime> date = XRDateCategoryVaxlo::dateFromTimeStamp(timestamp);
    const qint64 age = date ? std::llabs(m_clock().msecsTo(*date)) / 1000 : 0;
    return age > freshRatesAge;
}

XRCurrencyConverter::StatusLine XRCurrencyConverter::statusLine(const QString &timestamp) const
{
    if (!isOld(timestamp)) {
        return {XRLocalizedString("Last update") + QLatin1Char(' ') + timestamp + QLatin1Char('\n')
                    + XRLocalizedString("CurrenciesDisclaimer"),
                StatusLine::Colour::Black};
    }
    return {XRLocalizedString("Warning old rates") + QLatin1Char('\n') + timestamp, StatusLine::Colour::Red};
}

XRCurrencyConverter::StatusLine XRCurrencyConverter::failedStatusLine() const
{
    if (!hasRates())
        return {XRLocalizedString("No rates available. Check your internet connection."), StatusLine::Colour::Red};
    const QString timestamp = m_currencyList.dataDict().value(timestampKey).toString();
    return {XRLocalizedString("Could not update the rates. Rates from %1").arg(timestamp),
            isOld(timestamp) ? StatusLine::Colour::Red : StatusLine::Colour::Black};
}
