#pragma once

#include "XRSharedState.h"

#include <QGeoPositionInfo>
#include <QVariantList>

#include <optional>

// The application delegate as the screens see it: the shared state, the store
// collection and the device location. The shared application object hands it
// to every screen.
class XRApplicationDelegate : public XRSharedState
{
public:
    // Starts a new branch download.
    virtual void loadCurrentStoreList() = 0;
    // The store collection; nothing before the first branch list was announced.
    virtual const std::optional<QVariantList> &storesArray() const = 0;
    // The collection ordered by "city", for the store choosers.
    virtual std::optional<QVariantList> sortedStoresArray() const = 0;
    // Sets "distance" of every record of the collection from the position.
    virtual void addDistanceToStores(const QGeoCoordinate &position) = 0;
    // The newest reported location; nothing until the first report.
    virtual const std::optional<QGeoPositionInfo> &location() const = 0;
    virtual void startTrackingLocation() = 0;
    virtual void stopTrackingLocation() = 0;
};
