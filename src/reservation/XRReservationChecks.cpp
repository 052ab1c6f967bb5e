#include "XRReservationChecks.h"

#include <QRegularExpression>

namespace xr {

bool isValidReservationField(ReservationField field, const QString &text)
{
    static const QRegularExpression personalID(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{10,12}")));
    static const QRegularExpression phone(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]*")));
    switch (field) {
    case ReservationField::PersonalID:
        return personalID.match(text).hasMatch();
    case ReservationField::Phone:
        return phone.match(text).hasMatch();
    case ReservationField::FirstName:
    case ReservationField::LastName:
        break;
    }
    return true;
}

QString storeNumber(const QString &storeId)
{
    return storeId.section(QLatin1Char('.'), -1);
}

bool hasMissingReservationFields(const ReservationEntries &entries)
{
    const bool personalIDOptional = entries.languageIndex == 3;
    const bool personalIDMissing = entries.personalID.isEmpty()
                                   || !isValidReservationField(ReservationField::PersonalID, entries.personalID);
    const bool phoneMissing = entries.phone.isEmpty() || !isValidReservationField(ReservationField::Phone, entries.phone);
    return entries.firstName.isEmpty() || entries.lastName.isEmpty() || (personalIDMissing && !personalIDOptional)
           || phoneMissing || entries.branchID.isEmpty() || entries.currency.isEmpty() || entries.ammount.isEmpty();
}

} // namespace xr
