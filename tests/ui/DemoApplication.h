#pragma once

// The demo retailer in process; the configuration names its four markets and
// its reservation desk.

#include "DemoService.h"
#include "LaunchedApplication.h"

#include <QTemporaryDir>

namespace xr::test {

class DemoApplication : public LaunchedApplication
{
public:
    ~DemoApplication()
    {
        close();
        if (service)
            service->stop();
    }

    bool startService(QString &error)
    {
        service = std::make_unique<xr::demo::DemoService>(xr::demo::DemoOptions{.dataDir = dataDir.path(), .portBase = 0});
        if (!service->start(error))
            return false;
        const char *codes[] = {"SE", "DK", "NO", "FI"};
        for (size_t i = 0; i < 4; ++i)
            configuration.marketHosts[i] = service->marketAddress(QString::fromLatin1(codes[i]));
        configuration.reservationHost = service->reservationAddress();
        configuration.reservationCAFile = service->caCertificate();
        return true;
    }

    QTemporaryDir dataDir;
    std::unique_ptr<xr::demo::DemoService> service;
};

} // namespace xr::test
