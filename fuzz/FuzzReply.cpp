// The reservation client's reading of a reply document.

#include "FuzzSetup.h"
#include "XRReservationReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    XRReservationReply::fromBody(xr::fuzz::bytes(data, size), 200);
    return 0;
}
