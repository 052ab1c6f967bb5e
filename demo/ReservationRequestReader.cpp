#include "ReservationRequestReader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

namespace xr::demo {

namespace {

struct DocumentFree
{
    void operator()(xmlDoc *document) const { xmlFreeDoc(document); }
};

bool named(const xmlNode *node, const char *name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, reinterpret_cast<const xmlChar *>(name));
}

const xmlNode *child(const xmlNode *parent, const char *name)
{
    for (const xmlNode *node = parent ? parent->children : nullptr; node; node = node->next) {
        if (named(node, name))
            return node;
    }
    return nullptr;
}

// Fills `value` with the trimmed text at `path` below the root, or records
// the path as missing.
void take(const xmlNode *root, std::initializer_list<const char *> path, QString &value, QStringList &missing)
{
    const xmlNode *node = root;
    QStringList names;
    for (const char *name : path) {
        names << QLatin1String(name);
        node = child(node, name);
    }
    if (!node) {
        missing << names.join(QLatin1Char('/'));
        return;
    }
    xmlChar *content = xmlNodeGetContent(node);
    value = QString::fromUtf8(reinterpret_cast<const char *>(content)).trimmed();
    xmlFree(content);
}

} // namespace

RequestReading ReservationRequestReader::read(const QByteArray &xml)
{
    if (xml.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("the body is empty")};
    if (xml.contains("<!DOCTYPE"))
        return {std::nullopt, QStringLiteral("document type declarations are not accepted")};

    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    std::unique_ptr<xmlDoc, DocumentFree> document(
        xmlReadMemory(xml.constData(), int(xml.size()), "reservation.xml", "UTF-8", options));
    if (!document)
        return {std::nullopt, QStringLiteral("the body is not well-formed XML")};
    const xmlNode *root = xmlDocGetRootElement(document.get());
    if (!root || !named(root, "Submit"))
        return {std::nullopt, QStringLiteral("the root element is not Submit")};

    ReservationRequest request;
    QStringList &missing = request.missing;
    take(root, {"Client", "ClientID"}, request.clientId, missing);
    take(root, {"Client", "SharedSecret"}, request.sharedSecret, missing);
    take(root, {"Client", "Market"}, request.market, missing);
    take(root, {"Version", "Major"}, request.versionMajor, missing);
    take(root, {"Items", "Item", "Currency"}, request.currency, missing);
    take(root, {"Items", "Item", "Amount"}, request.amount, missing);
    take(root, {"Customer", "Number"}, request.personalNumber, missing);
    take(root, {"Customer", "First"}, request.firstName, missing);
    take(root, {"Customer", "Last"}, request.lastName, missing);
    take(root, {"Customer", "Tele"}, request.phone, missing);
    take(root, {"Other", "FetchAt"}, request.fetchAt, missing);
    take(root, {"Other", "Branch"}, request.branch, missing);
    take(root, {"Other", "PaymentMethod"}, request.paymentMethod, missing);
    return {request, QString()};
}

} // namespace xr::demo
