// The XML document layer: parse, walk every node the way callers read them,
// and write the document out again.

#include "FuzzSetup.h"
#include "XRXMLDocument.h"

namespace {

void walk(const XRXMLNodePtr &node, int depth)
{
    if (!node || depth > 64)
        return;
    node->name();
    node->URI();
    node->stringValue();
    if (auto element = std::dynamic_pointer_cast<XRXMLElement>(node)) {
        for (const XRXMLNodePtr &attribute : element->attributes())
            attribute->stringValue();
        for (const XRXMLNodePtr &aNamespace : element->namespaces())
            aNamespace->stringValue();
        element->elementsForName(QStringLiteral("Code"));
    }
    for (const XRXMLNodePtr &child : node->children())
        walk(child, depth + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    XRXMLError error;
    const std::unique_ptr<XRXMLDocument> document = XRXMLDocument::documentWithData(xr::fuzz::bytes(data, size), 0, &error);
    if (!document)
        return 0;
    walk(document->rootElement(), 0);
    document->nodesForXPath(QStringLiteral("//*[@*]"), &error);
    document->XMLData();
    return 0;
}
