// The property-list reader, and the writer over whatever it read.

#include "FuzzSetup.h"
#include "XRPropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::optional<QVariant> value = XRPropertyList::propertyListFromData(xr::fuzz::bytes(data, size), error);
    if (value)
        XRPropertyList::dataFromPropertyList(*value, error);
    return 0;
}
