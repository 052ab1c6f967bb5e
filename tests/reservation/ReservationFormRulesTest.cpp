#include "XRCollectionDate.h"
#include "XRReservationChecks.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

using xr::ReservationField;

TEST(CollectionDate, EarliestDateIsThreeDaysAheadOrTheMondayAfterAWeekend)
{
    // Monday 30 November 2026 to Sunday 6 December, at 10:15.
    const struct
    {
        int createdOn;
        QDate earliest;
    } cases[] = {
        {30, QDate(2026, 12, 3)}, // Monday: Thursday
        {1, QDate(2026, 12, 4)},  // Tuesday: Friday
        {2, QDate(2026, 12, 7)},  // Wednesday: Saturday becomes Monday, five days ahead
        {3, QDate(2026, 12, 7)},  // Thursday: Sunday becomes Monday, four days ahead
        {4, QDate(2026, 12, 7)},  // Friday: Monday
        {5, QDate(2026, 12, 8)},  // Saturday: Tuesday
        {6, QDate(2026, 12, 9)},  // Sunday: Wednesday
    };
    for (const auto &c : cases) {
        const QDateTime now(QDate(2026, c.createdOn == 30 ? 11 : 12, c.createdOn), QTime(10, 15));
        SCOPED_TRACE(now.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(xr::earliestCollectionDate(now), QDateTime(c.earliest, QTime(10, 15)));
    }
}

TEST(CollectionDate, AWeekendDayMovesToTheMondayAfterKeepingTheTime)
{
    const QTime time(23, 30);
    EXPECT_EQ(xr::collectionDateOffWeekend(QDateTime(QDate(2026, 12, 5), time)), QDateTime(QDate(2026, 12, 7), time));
    EXPECT_EQ(xr::collectionDateOffWeekend(QDateTime(QDate(2026, 12, 6), time)), QDateTime(QDate(2026, 12, 7), time));
    for (int day = 7; day <= 11; ++day)
        EXPECT_EQ(xr::collectionDateOffWeekend(QDateTime(QDate(2026, 12, day), time)), QDateTime(QDate(2026, 12, day), time));
}

TEST(ReservationChecks, FieldPatternsMatchTheWholeText)
{
    const struct
    {
        ReservationField field;
        const char *text;
        bool valid;
    } cases[] = {
        {ReservationField::PersonalID, "123456789", false},     {ReservationField::PersonalID, "1234567890", true},
        {ReservationField::PersonalID, "12345678901", true},    {ReservationField::PersonalID, "123456789012", true},
        {ReservationField::PersonalID, "1234567890123", false}, {ReservationField::PersonalID, "800101-1234", false},
        {ReservationField::PersonalID, "１２３４５６７８９０", false}, // full-width digits are not ASCII digits
        {ReservationField::Phone, "0701234567", true},          {ReservationField::Phone, "", true},
        {ReservationField::Phone, "070 123 45", false},         {ReservationField::Phone, "+46701234567", false},
        {ReservationField::FirstName, "Åsa-Li O'Brien", true},  {ReservationField::LastName, "", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(xr::isValidReservationField(c.field, QString::fromUtf8(c.text)), c.valid);
    }
}

TEST(ReservationChecks, EveryRequiredValueAndTheFinnishMarketsOptionalNumber)
{
    const xr::ReservationEntries complete{QStringLiteral("Anna"), QStringLiteral("Lind"), QStringLiteral("1980010112"),
                                          QStringLiteral("0701234567"), QStringLiteral("101"), QStringLiteral("USD"),
                                          QStringLiteral("850.00"), 0};
    EXPECT_FALSE(xr::hasMissingReservationFields(complete));
    const struct
    {
        const char *what;
        QString xr::ReservationEntries::*field;
        const char *value;
    } emptied[] = {
        {"first name", &xr::ReservationEntries::firstName, ""}, {"last name", &xr::ReservationEntries::lastName, ""},
        {"no number", &xr::ReservationEntries::personalID, ""},  {"short number", &xr::ReservationEntries::personalID, "123"},
        {"no phone", &xr::ReservationEntries::phone, ""},        {"phone with plus", &xr::ReservationEntries::phone, "+4670"},
        {"no store", &xr::ReservationEntries::branchID, ""},     {"no currency", &xr::ReservationEntries::currency, ""},
        {"no amount", &xr::ReservationEntries::ammount, ""},
    };
    for (const auto &c : emptied) {
        SCOPED_TRACE(c.what);
        xr::ReservationEntries entries = complete;
        entries.*c.field = QString::fromUtf8(c.value);
        EXPECT_TRUE(xr::hasMissingReservationFields(entries));
    }

    xr::ReservationEntries finnish = complete;
    finnish.languageIndex = 3;
    finnish.personalID = QStringLiteral("12-3");
    EXPECT_FALSE(xr::hasMissingReservationFields(finnish)) << "the number is never checked in Finland";
    finnish.phone.clear();
    EXPECT_TRUE(xr::hasMissingReservationFields(finnish));
}

TEST(ReservationChecks, StoreNumberIsThePartAfterTheLastFullStop)
{
    EXPECT_EQ(xr::storeNumber(QStringLiteral("7.123")), QStringLiteral("123"));
    EXPECT_EQ(xr::storeNumber(QStringLiteral("SE.FX.101")), QStringLiteral("101"));
    EXPECT_EQ(xr::storeNumber(QStringLiteral("42")), QStringLiteral("42"));
    EXPECT_EQ(xr::storeNumber(QStringLiteral("SE.")), QString());
}

} // namespace
