#include "XRNotificationCenter.h"

#include <algorithm>

XRNotificationCenter &XRNotificationCenter::defaultCenter()
{
    static XRNotificationCenter center;
    return center;
}

void XRNotificationCenter::addObserver(const void *observer, const QString &name, Handler handler)
{
    m_registrations.push_back(std::make_shared<Registration>(Registration{observer, name, std::move(handler)}));
}

void XRNotificationCenter::removeObserver(const void *observer)
{
    std::erase_if(m_registrations, [observer](const std::shared_ptr<Registration> &r) {
        if (r->observer != observer)
            return false;
        r->removed = true;
        return true;
    });
}

void XRNotificationCenter::removeObserver(const void *observer, const QString &name)
{
    std::erase_if(m_registrations, [observer, &name](const std::shared_ptr<Registration> &r) {
        if (r->observer != observer || r->name != name)
            return false;
        r->removed = true;
        return true;
    });
}

void XRNotificationCenter::postNotificationName(const QString &name, const QVariant &object)
{
    // Deliver to the observers registered when the post began; one removed
    // by an earlier handler of this post is skipped.
    std::vector<std::shared_ptr<Registration>> receivers;
    for (const auto &r : m_registrations) {
        if (r->name == name)
            receivers.push_back(r);
    }
    const XRNotification notification{name, object};
    for (const auto &r : receivers) {
        if (!r->removed)
            r->handler(notification);
    }
}

int XRNotificationCenter::observerCount(const QString &name) const
{
    return int(std::count_if(m_registrations.begin(), m_registrations.end(),
                             [&name](const std::shared_ptr<Registration> &r) { return r->name == name; }));
}
