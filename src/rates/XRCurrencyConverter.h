#pragma once

#include "XRMarkets.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <optional>

class XRSharedState;
class XRCurrencyDownloader;

// The converter behind the currency screen: cleans the downloaded rates,
// keeps the picked currency in the currency dictionary, in step with the
// latest rates, converts the typed amount both ways and judges the age of the
// rates. The screen owns one, maps its controls to the setters and shows what
// the getters give.
class XRCurrencyConverter
{
public:
    // The six conversion texts, named after the labels that show them.
    struct Labels
    {
        QString swiftSourceLabel;
        QString swiftTransactionLabel;
        QString baseDestinationLabel;
        QString baseSourceLabel;
        QString baseTransactionLabel;
        QString swiftDestinationLabel;
    };

    struct StatusLine
    {
        enum class Colour { Black, Red };
        QString text;
        Colour colour;
    };

    // Segment 0 of the buy/sell control: the customer buys the foreign currency.
    static constexpr int buySegment = 0;
    static constexpr int sellSegment = 1;

    XRCurrencyConverter(XRCurrencyDownloader &currencyList, XRSharedState &appDelegate);

    // The clock the age of the rates is measured against; tests set their own.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The amount field's text, as typed.
    void setAmountText(const QString &text) { m_amountText = text; }
    QString ammount() const { return m_amountText; }
    // The selected segment of the buy/sell control.
    void setTransTypeSegment(int segment) { m_transTypeSegment = segment; }
    int transTypeSegment() const { return m_transTypeSegment; }

    // The currency picked on the wheel, stored in the currency dictionary to be
    // saved with its next save. False when there is no such row.
    bool selectCurrencyAtRow(int row);
    // The user switched between buy and sell: stored and saved at once.
    void transTypeChanged(int segment);
    // Editing of the amount ended: the text is stored and saved at once.
    void amountEditingDidEnd();

    // The rows of the last rates document; empty before the first one.
    QVariantList currenciesArray() const;
    bool hasRates() const { return !currenciesArray().isEmpty(); }
    // Cleans every row in place; cleaning a clean row changes nothing.
    void tidyCurrencyArray();

    // The picked currency with the rates of the latest document, or the
    // built-in default of the current market.
    QVariantMap currentCurrency() const;
    // "Choose currency" in the user's language, the market's home currency
    // converted one to one; it is never stored.
    static QVariantMap defaultCurrency(XRMarket market);
    QString swiftCode() const;
    QString baseSwiftCode() const;
    // Where the picked currency stands in the rates table; -1 without a pick.
    int currentCurrencyRow() const;

    // The six texts with amounts in the "%0.2f" form that stored data and the
    // wire format use.
    Labels setLabels() const;
    // The same texts with amounts as the locale writes numbers; the typed amount
    // stays as typed. Currencies by code, or by name in the screens' language.
    Labels displayLabels(const QLocale &locale, bool namesForCodes = false) const;
    // The texts as a screen reader says them: currencies by name, and each
    // result with what it converts ("100 Euro = 1 134,50 Swedish kronor").
    Labels spokenLabels(const QLocale &locale) const;
    // The reserved amount in the base currency at the cash selling rate, whatever
    // the transaction type, in the "%0.2f" form.
    QString sellCashAmmount() const;

    // A rates document was parsed: its timestamp is stored, the rows are
    // cleaned, the pick takes the new rates of its currency (or gives way to the
    // default when the new list lacks it) and the dictionary is saved. The status
    // line for the timestamp, or nothing when the document had none and the
    // screen keeps what it showed.
    std::optional<StatusLine> setupCurrencies();
    // What the status line says when a load failed: how old the rates on screen
    // are, or that there are none.
    StatusLine failedStatusLine() const;

private:
    StatusLine statusLine(const QString &timestamp) const;
    bool isOld(const QString &timestamp) const;
    void refreshCurrentCurrency();
    Labels labels(const std::function<QString(double)> &format, bool namesForCodes) const;

    XRCurrencyDownloader &m_currencyList;
    XRSharedState &m_appDelegate;
    std::function<QDateTime()> m_clock;
    QString m_amountText;
    int m_transTypeSegment = buySegment;
};
