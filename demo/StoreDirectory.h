#pragma once

#include "Market.h"

#include <QList>
#include <QString>

#include <optional>

namespace xr::demo {

// One line of a store's opening hours, such as "Mån-Fre" "10:00" "18:00"; a
// closed day has no end.
struct StoreEvent
{
    QString name;
    QString start;
    std::optional<QString> stop;
};

// How a store's opening hours appear in the branch document.
enum class EventsForm { Listed, EmptyElement, Absent };

struct Store
{
    QString id;      // "SE.FX.101": the number after the last full stop is the store number
    int number;
    QString name;
    QString city;
    QString address;
    QString zip;
    QString phone;
    QString phoneAlt;  // empty for stores without a second number
    double latitude;
    double longitude;
    EventsForm eventsForm;
    QList<StoreEvent> events;
};

struct CityCentre
{
    QString name;
    double latitude;
    double longitude;
};

// The retailer's stores in each market, invented from a fixed seed so that
// the same list (and the same ETag) comes back after every restart.
class StoreDirectory
{
public:
    static QList<Store> storesFor(const Market &market);
    static QList<CityCentre> citiesOf(const Market &market);
    static std::optional<Store> findStore(const Market &market, int number);
};

} // namespace xr::demo
