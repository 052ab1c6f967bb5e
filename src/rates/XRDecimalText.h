#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

// Numbers as the rates documents and the converter write them: "." is the
// decimal separator whatever the user's locale.
namespace xr {

// Leading white space, an optional sign, digits, an optional "." with fraction
// digits and an optional exponent; reading stops at the first character that
// does not fit, and text without a number reads as 0.
double decimalFromText(QStringView text);

// The typed amount: read like decimalFromText, in single precision, with ","
// accepted as the decimal mark as well ("12,5" is 12.5).
float amountFromText(QStringView text);

// The number with a fixed count of decimals (0 to 300), as the C library's
// "%.*f" prints it (its rounding: 0.125 gives "0.12"), with "." as the separator.
QString fixedDecimals(double value, int decimals);

// A number printed by fixedDecimals() as the locale writes it: its digit
// grouping, decimal mark and minus sign, the digits unchanged. Other text
// ("inf", "nan") comes back as it is.
QString localizedDecimal(const QString &fixed, const QLocale &locale);

// What the amount field takes: at most 12 characters, digits and at most one
// decimal mark, "," or ".".
bool isDecimalPadText(QStringView text);
constexpr qsizetype decimalPadMaxLength = 12;

} // namespace xr
