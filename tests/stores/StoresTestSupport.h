#pragma once

#include "NmeaReplay.h"
#include "XRLocationManager.h"
#include "XRNotificationCenter.h"
#include "XRUserDefaults.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

#include <functional>
#include <memory>

namespace xr::test {

// Counts the posts of one notification while it lives; an optional action
// runs inside each post.
class NotificationCounter
{
public:
    explicit NotificationCounter(const QString &name, std::function<void()> action = {})
    {
        XRNotificationCenter::defaultCenter().addObserver(this, name, [this, action](const XRNotification &) {
            ++count;
            if (action)
                action();
        });
    }
    ~NotificationCounter() { XRNotificationCenter::defaultCenter().removeObserver(this); }
    NotificationCounter(const NotificationCounter &) = delete;
    NotificationCounter &operator=(const NotificationCounter &) = delete;

    int count = 0;
};

// The documents folder, where the data files live.
inline QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// No data files and no stored preferences, as on a first launch.
inline void resetStoredState()
{
    QDir(documentsFolder()).removeRecursively();
    XRUserDefaults::resetStandardUserDefaults();
    QFile::remove(XRUserDefaults::standardUserDefaults().filePath());
    XRUserDefaults::resetStandardUserDefaults();
}

// A location manager that never reports, for tests that launch the delegate.
inline std::unique_ptr<XRLocationManager> silentLocationManager()
{
    QBuffer *device = nullptr;
    return std::make_unique<XRLocationManager>(nmeaSource(device));
}

} // namespace xr::test
