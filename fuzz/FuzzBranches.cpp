// The branch document parser.

#include "FuzzSetup.h"
#include "XRBranchDocumentParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    XRBranchDocumentParser::branchDictionary(xr::fuzz::bytes(data, size));
    return 0;
}
