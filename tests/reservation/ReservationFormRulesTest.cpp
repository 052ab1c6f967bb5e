#include "XRCollectionDate.h"
#include "XRReservationChecks.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

TEST(CollectionDate, ThreeDaysAheadOffWeekendsKeepingTheTimeOfDay)
{
    // Created on Monday 30 November 2026 and the six days after it: Thursday,
    // Friday, Monday (five days ahead), Monday (four), Monday, Tuesday, Wednesday.
    const int daysAhead[] = {3, 3, 5, 4, 3, 3, 3};
    const QDateTime monday(QDate(2026, 11, 30), QTime(23, 30));
    for (int day = 0; day < 7; ++day) {
        const QDateTime now = monday.addDays(day);
        SCOPED_TRACE(now.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(xr::earliestCollectionDate(now), now.addDays(daysAhead[day]));
        // A Saturday or Sunday on the wheel is the Monday after; other days stay.
        const int toMonday = now.date().dayOfWeek() >= 6 ? 8 - now.date().dayOfWeek() : 0;
        EXPECT_EQ(xr::collectionDateOffWeekend(now), now.addDays(toMonday));
    }
}

TEST(ReservationChecks, EachRequiredValueAndThePatternsOfNumberAndPhone)
{
    const xr::ReservationEntries complete{QStringLiteral("Åsa"), QStringLiteral("Lind"), QStringLiteral("1980010112"),
                                          QStringLiteral("0701234567"), QStringLiteral("101"), QStringLiteral("USD"),
                                          QStringLiteral("850.00"), 0};
    EXPECT_FALSE(xr::hasMissingReservationFields(complete));
    using E = xr::ReservationEntries;
    const struct { QString E::*field; const char *value; bool missing; } cases[] = {
        {&E::personalID, "12345678901", false}, {&E::personalID, "123456789012", false},
        {&E::personalID, "123456789", true},    {&E::personalID, "1234567890123", true},
        {&E::personalID, "800101-1234", true},  {&E::personalID, "１２３４５６７８９０", true},
        {&E::phone, "070 123 45", true},        {&E::phone, "+46701234567", true},
        {&E::phone, "", true},                  {&E::firstName, "", true},
        {&E::lastName, "", true},               {&E::branchID, "", true},
        {&E::currency, "", true},               {&E::ammount, "", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        E entries = complete;
        entries.*c.field = QString::fromUtf8(c.value);
        EXPECT_EQ(xr::hasMissingReservationFields(entries), c.missing);
    }
    E finnish = complete;
    finnish.languageIndex = 3;
    finnish.personalID = QStringLiteral("12-3");
    EXPECT_FALSE(xr::hasMissingReservationFields(finnish)) << "Finland never checks the number";

    EXPECT_EQ(xr::storeNumber(QStringLiteral("7.123")), QStringLiteral("123"));
    EXPECT_EQ(xr::storeNumber(QStringLiteral("SE.FX.101")), QStringLiteral("101"));
    EXPECT_EQ(xr::storeNumber(QStringLiteral("42")), QStringLiteral("42"));
}

} // namespace
