#pragma once

#include <QAbstractAnimation>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <algorithm>
#include <functional>

namespace xr::test {

// Runs the event loop until the condition holds; false when it still does not
// hold after the safety limit. Waiting is on the condition, never on a clock.
inline bool waitUntil(const std::function<bool()> &condition, int limitMs = 20000)
{
    QDeadlineTimer deadline(limitMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

// Runs the event loop until no animation under the object is running.
inline bool waitForAnimations(const QObject *object)
{
    return waitUntil([object] {
        const auto animations = object->findChildren<QAbstractAnimation *>();
        return std::none_of(animations.begin(), animations.end(),
                            [](const QAbstractAnimation *a) { return a->state() == QAbstractAnimation::Running; });
    });
}

// Lets every event that is already queued run (deferred calls, queued signals).
inline void drainEvents()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace xr::test
