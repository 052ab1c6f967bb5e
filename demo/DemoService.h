#pragma once

#include "Clock.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace xr::demo {

class ReservationBook;
class ReservationHost;
class MarketHost;
struct Listener;

struct DemoOptions
{
    QString dataDir;           // where the certificates live
    int portBase = 8081;       // SE, DK, NO, FI on portBase..portBase+3, HTTPS on +4; 0: the system picks
    bool oldRates = false;     // rates two days old
    Clock clock;               // empty: the current local time
    std::function<void(const QString &line)> log;  // one line per request; empty: silent
};

// The whole demo retailer on 127.0.0.1: a plain HTTP server for each market
// and the HTTPS reservation server, each listening on a thread of its own.
class DemoService
{
public:
    explicit DemoService(DemoOptions options);
    ~DemoService();
    DemoService(const DemoService &) = delete;
    DemoService &operator=(const DemoService &) = delete;

    // Makes or loads the certificates, binds every port and returns once all
    // servers listen. On failure `error` says what went wrong and nothing listens.
    // A service starts once.
    bool start(QString &error);
    void stop();

    // "127.0.0.1:8081"; empty for an unknown market or when not listening.
    QString marketAddress(const QString &marketCode) const;
    QString reservationAddress() const;
    QString caCertificate() const { return m_caCertificate; }
    const ReservationBook &reservations() const;

private:
    bool listen(Listener &listener, QString &error);
    QString address(const QString &listenerName) const;

    DemoOptions m_options;
    QString m_caCertificate;
    std::unique_ptr<ReservationHost> m_reservationHost;
    std::vector<std::unique_ptr<MarketHost>> m_marketHosts;
    std::vector<std::unique_ptr<Listener>> m_listeners;  // the markets in order, then reservations
};

} // namespace xr::demo
