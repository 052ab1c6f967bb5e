#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <optional>

class XRSharedState;
class XRCurrencyDownloader;

// The converter behind the currency screen: cleans the downloaded rates,
// keeps the picked currency in the currency dictionary, converts the typed
// amount both ways and judges the age of the rates. The screen owns one, maps
// its controls to the setters and shows what the getters give.
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
    // Cleans every row in place; cleaning a clean row changes nothing.
    void tidyCurrencyArray();

    // The picked currency as it was when picked, or the built-in default.
    QVariantMap currentCurrency() const;
    static QVariantMap defaultCurrency();
    QString swiftCode() const;
    QString baseSwiftCode() const;

    Labels setLabels() const;
    // The reserved amount in the base currency at the cash selling rate, whatever
    // the transaction type.
    QString sellCashAmmount() const;

    // A rates document was parsed: its timestamp is stored and saved, and the
    // rows are cleaned. The status line for the timestamp, or nothing when the
    // document had none and the screen keeps what it showed.
    std::optional<StatusLine> setupCurrencies();

private:
    StatusLine statusLine(const QString &timestamp) const;

    XRCurrencyDownloader &m_currencyList;
    XRSharedState &m_appDelegate;
    std::function<QDateTime()> m_clock;
    QString m_amountText;
    int m_transTypeSegment = buySegment;
};
