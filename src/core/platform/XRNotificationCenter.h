#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct XRNotification
{
    QString name;
    QVariant object;
};

// The process-wide notification centre: named notifications delivered
// synchronously to every observer of the name, in the order of registration.
class XRNotificationCenter
{
public:
    using Handler = std::function<void(const XRNotification &)>;

    static XRNotificationCenter &defaultCenter();

    void addObserver(const void *observer, const QString &name, Handler handler);
    // Removes all of the observer's registrations; safe while a post is being delivered.
    void removeObserver(const void *observer);
    void removeObserver(const void *observer, const QString &name);
    void postNotificationName(const QString &name, const QVariant &object = {});

    int observerCount(const QString &name) const;

private:
    struct Registration
    {
        const void *observer;
        QString name;
        Handler handler;
        bool removed = false;
    };
    std::vector<std::shared_ptr<Registration>> m_registrations;
};
