#pragma once

#include <QVariantMap>

class XRConfiguration;
class XRDataFiles;

// What the downloaders, the converter and the reservation client need of the
// application delegate: the configuration, the settings and currency
// dictionaries with their saves, the data files, the loading splash and the one
// network alert.
// They receive it when they are made.
class XRSharedState
{
public:
    virtual ~XRSharedState() = default;

    virtual const XRConfiguration &configuration() const = 0;
    // Made once at launch and changed in place by everyone else.
    virtual QVariantMap &settingsDict() = 0;
    virtual QVariantMap &currencyDict() = 0;
    // Write a dictionary to its data file; false when the file was not written.
    virtual bool storeSettings() = 0;
    virtual bool storeCurrency() = 0;
    // The data folder's files, for what is kept besides the two dictionaries.
    virtual XRDataFiles &dataFiles() = 0;

    virtual void displayLoadingSplash() = 0;
    virtual void dismissLoadingSplash() = 0;
    // Dismisses the splash and shows the network alert unless one was shown
    // within the last 60 seconds.
    virtual void showNetworkErrorAlert() = 0;
};
