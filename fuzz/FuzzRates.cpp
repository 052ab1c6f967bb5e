// The rates downloader's parse of a rates document.

#include "FuzzSetup.h"
#include "XRCurrencyDownloader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    XRCurrencyDownloader downloader(nullptr);
    downloader.parseXML(xr::fuzz::bytes(data, size));
    return 0;
}
