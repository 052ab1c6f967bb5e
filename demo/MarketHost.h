#pragma once

#include "BranchDocument.h"
#include "Clock.h"
#include "Market.h"

#include <QString>

namespace httplib {
class Server;
}

namespace xr::demo {

// One market's web host: the rates document, the branch document with its
// entity tag, the news feed and its story pages, and an index page.
class MarketHost
{
public:
    // `address` is "127.0.0.1:port", used in the feed's links.
    MarketHost(const Market &market, QString address, Clock clock, bool oldRates);

    void install(httplib::Server &server) const;

private:
    QDateTime ratesTime() const;

    const Market &m_market;
    QString m_address;
    Clock m_clock;
    bool m_oldRates;
    BranchDocument m_branches;
};

} // namespace xr::demo
