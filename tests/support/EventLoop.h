#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

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

// Lets every event that is already queued run (deferred calls, queued signals).
inline void drainEvents()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace xr::test
