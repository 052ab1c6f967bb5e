// The news feed parser.

#include "FuzzSetup.h"
#include "XRNewsFeedParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    XRNewsFeedParser::parse(xr::fuzz::bytes(data, size));
    return 0;
}
