#pragma once

#include <QString>

// What the reservation form checks before it sends anything.
namespace xr {

enum class ReservationField { FirstName, LastName, PersonalID, Phone };

// Whether the whole text fits the field: a personal identity number is 10 to
// 12 ASCII digits, a telephone number digits only (empty passes here), the
// names anything.
bool isValidReservationField(ReservationField field, const QString &text);

// The store number sent as the branch: the part of a store's "id" after its
// last full stop, or the whole "id" when it has none.
QString storeNumber(const QString &storeId);

// The form's values as the reservation would send them.
struct ReservationEntries
{
    QString firstName;
    QString lastName;
    QString personalID;
    QString phone;
    QString branchID;
    QString currency;
    QString ammount;
    int languageIndex = 0;
};

// Whether a value is empty or fails its check. The Finnish market (language
// index 3) takes a reservation without a personal identity number, and then
// never checks it.
bool hasMissingReservationFields(const ReservationEntries &entries);

} // namespace xr
