#include "XRDecimalText.h"

#include <QByteArray>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace xr {

namespace {

// The C locale, whatever LC_NUMERIC the application was started with.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isCSpace(QChar c)
{
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}

// The longest prefix of the text (after white space) that is a decimal number,
// with the decimal mark written as "."; empty when there is none.
QByteArray numberPrefix(QStringView text, bool commaIsDecimalMark)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && isCSpace(text[i]))
        ++i;
    QByteArray number;
    if (i < size && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number += char(text[i++].unicode());
    int digits = 0;
    while (i < size && isDigit(text[i])) {
        number += char(text[i++].unicode());
        ++digits;
    }
    if (i < size && (text[i] == QLatin1Char('.') || (commaIsDecimalMark && text[i] == QLatin1Char(',')))) {
        qsizetype j = i + 1;
        QByteArray fraction = ".";
        while (j < size && isDigit(text[j])) {
            fraction += char(text[j++].unicode());
            ++digits;
        }
        if (digits > 0) {
            number += fraction;
            i = j;
        }
    }
    if (digits == 0)
        return {};
    if (i < size && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        QByteArray exponent = "e";
        if (j < size && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exponent += char(text[j++].unicode());
        const qsizetype firstDigit = j;
        while (j < size && isDigit(text[j]))
            exponent += char(text[j++].unicode());
        if (j > firstDigit)
            number += exponent;
    }
    return number;
}

} // namespace

double decimalFromText(QStringView text)
{
    const QByteArray number = numberPrefix(text, false);
    return number.isEmpty() ? 0.0 : strtod_l(number.constData(), nullptr, cLocale());
}

float amountFromText(QStringView text)
{
    const QByteArray number = numberPrefix(text, true);
    return number.isEmpty() ? 0.0f : strtof_l(number.constData(), nullptr, cLocale());
}

QString fixedDecimals(double value, int decimals)
{
    // to_chars with a precision prints exactly what printf prints in the C locale.
    // Room for a sign, the 309 digits of the largest double, the point and 300 decimals.
    char text[1 + std::numeric_limits<double>::max_exponent10 + 1 + 1 + 300];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                      std::clamp(decimals, 0, 300));
    return QString::fromLatin1(text, result.ptr - text);
}

QString localizedDecimal(const QString &fixed, const QLocale &locale)
{
    const bool negative = fixed.startsWith(QLatin1Char('-'));
    const QString unsignedText = negative ? fixed.mid(1) : fixed;
    const QString integerDigits = unsignedText.section(QLatin1Char('.'), 0, 0);
    const QString fraction = unsignedText.section(QLatin1Char('.'), 1);
    if (integerDigits.isEmpty() || !std::all_of(integerDigits.cbegin(), integerDigits.cend(), isDigit))
        return fixed;
    // Grouped by the locale's own rule; beyond 64 bits no amount is real, and
    // its digits are shown ungrouped.
    bool fits = false;
    const qulonglong integer = integerDigits.toULongLong(&fits);
    QString text = negative ? locale.negativeSign() : QString();
    text += fits ? locale.toString(integer) : integerDigits;
    if (!fraction.isEmpty())
        text += locale.decimalPoint() + fraction;
    return text;
}

bool isDecimalPadText(QStringView text)
{
    if (text.size() > decimalPadMaxLength)
        return false;
    int marks = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            ++marks;
        else if (!isDigit(c))
            return false;
    }
    return marks <= 1;
}

} // namespace xr
