#include "XRXMLDocument.h"

#include "XMLErrorCollector.h"
#include "XMLMarkupLimits.h"
#include "XMLStringsCache.h"
#include "XMLTreeHelpers.h"

#include <libxml/parser.h>

#include <climits>

using namespace xr;

namespace {

void replaceDocumentText(xmlDocPtr document, const xmlChar *&field, const QString &text)
{
    if (field && !(document->dict && xmlDictOwns(document->dict, field) == 1))
        xmlFree(const_cast<xmlChar *>(field));
    field = text.isNull() ? nullptr : xmlStrdup(xmlChars(text.toUtf8()));
}

// Called before the declaration's internal subset is read: no document this
// layer reads has one, and refusing it here keeps entity expansion from costing anything.
void refuseDocumentType(void *context, const xmlChar *, const xmlChar *, const xmlChar *)
{
    auto *parser = static_cast<xmlParserCtxtPtr>(context);
    parser->wellFormed = 0;
    xmlStopParser(parser);
}

xmlDocPtr readDocument(const QByteArray &data)
{
    if (data.size() > INT_MAX || hasElementWithTooManyAttributes(data))
        return nullptr;
    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser)
        return nullptr;
    parser->sax->internalSubset = refuseDocumentType;
    XMLErrorCollector errors;
    xmlDocPtr document = xmlCtxtReadMemory(parser, data.constData(), int(data.size()), nullptr, nullptr,
                                           XML_PARSE_NOCDATA | XML_PARSE_NOBLANKS | XML_PARSE_NONET);
    xmlFreeParserCtxt(parser);
    return document;
}

} // namespace

XRXMLDocument::XRXMLDocument(xmlDocPtr document)
    : m_xmlDoc(document)
{
    addStringsCacheToDoc();
}

XRXMLDocument::~XRXMLDocument()
{
    delete static_cast<XMLStringsCache *>(m_xmlDoc->_private);
    m_xmlDoc->_private = nullptr;
    xmlFreeDoc(m_xmlDoc);
}

std::unique_ptr<XRXMLDocument> XRXMLDocument::documentWithXMLString(const QString &xml, int options,
                                                                    XRXMLError *error)
{
    return documentWithData(xml.toUtf8(), options, error);
}

std::unique_ptr<XRXMLDocument> XRXMLDocument::documentWithData(const QByteArray &data, int, XRXMLError *error)
{
    XRXMLNode::load();
    xmlDocPtr document = readDocument(data);
    if (!document) {
        if (error)
            *error = XRXMLError::withCode(-1);
        return nullptr;
    }
    if (error)
        *error = XRXMLError();
    return std::unique_ptr<XRXMLDocument>(new XRXMLDocument(document));
}

std::unique_ptr<XRXMLDocument> XRXMLDocument::documentWithRootElement(const XRXMLElement &element)
{
    XRXMLNode::load();
    xmlDocPtr document = xmlNewDoc(BAD_CAST XML_DEFAULT_VERSION);
    if (!document)
        return nullptr;
    if (element.kind() == XRXMLNode::ElementKind) {
        if (xmlNodePtr root = element.XMLNodeCopy())
            xmlDocSetRootElement(document, root);
    }
    return std::unique_ptr<XRXMLDocument>(new XRXMLDocument(document));
}

void XRXMLDocument::addStringsCacheToDoc()
{
    m_xmlDoc->_private = new XMLStringsCache;
}

XRXMLElementPtr XRXMLDocument::rootElement() const
{
    return std::static_pointer_cast<XRXMLElement>(XRXMLNode::nodeBorrowingXMLNode(xmlDocGetRootElement(m_xmlDoc)));
}

QByteArray XRXMLDocument::XMLData() const
{
    xmlChar *memory = nullptr;
    int size = 0;
    {
        XMLErrorCollector errors;
        xmlDocDumpMemory(m_xmlDoc, &memory, &size);
    }
    QByteArray data;
    if (memory && size > 0)
        data = QByteArray(reinterpret_cast<const char *>(memory), size);
    xmlFree(memory);
    return data;
}

void XRXMLDocument::setVersion(const QString &version)
{
    replaceDocumentText(m_xmlDoc, m_xmlDoc->version, version);
}

void XRXMLDocument::setCharacterEncoding(const QString &encoding)
{
    replaceDocumentText(m_xmlDoc, m_xmlDoc->encoding, encoding);
}

std::optional<QList<XRXMLNodePtr>> XRXMLDocument::nodesForXPath(const QString &xpath, XRXMLError *error) const
{
    return XRXMLNode::nodeBorrowingXMLNode(reinterpret_cast<xmlNodePtr>(m_xmlDoc))->nodesForXPath(xpath, error);
}

std::optional<QList<XRXMLNodePtr>> XRXMLDocument::nodesForXPath(const QString &xpath,
                                                                const QMap<QString, QString> &namespaces,
                                                                XRXMLError *error) const
{
    return XRXMLNode::nodeBorrowingXMLNode(reinterpret_cast<xmlNodePtr>(m_xmlDoc))
        ->nodesForXPath(xpath, namespaces, error);
}

QString XRXMLDocument::description() const
{
    return QString::asprintf("XRXMLDocument %p", static_cast<const void *>(this));
}
