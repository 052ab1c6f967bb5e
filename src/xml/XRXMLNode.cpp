#include "XRXMLNode.h"

#include "XMLErrorCollector.h"
#include "XMLStringsCache.h"
#include "XMLTreeHelpers.h"
#include "XRXMLElement.h"

#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <typeinfo>

using namespace xr;

namespace {

xmlNodePtr firstChild(xmlNodePtr node)
{
    // An entity reference's children point at the entity's declaration, not at nodes of its own.
    if (!node || isNamespaceDeclaration(node) || node->type == XML_ENTITY_REF_NODE)
        return nullptr;
    return node->children;
}

// The content of a text-like node, or of an element or attribute holding
// one text node: what xmlNodeGetContent would copy out, read in place.
const xmlChar *storedContent(xmlNodePtr node)
{
    auto isText = [](xmlNodePtr text) {
        return text->type == XML_TEXT_NODE || text->type == XML_CDATA_SECTION_NODE;
    };
    if (isText(node) || node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE)
        return node->content;
    if ((node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) && node->children
        && node->children == node->last && isText(node->children))
        return node->children->content;
    return nullptr;
}

// A declaration counts as being in its own namespace.
xmlNsPtr ownNamespace(xmlNodePtr node)
{
    return isNamespaceDeclaration(node) ? reinterpret_cast<xmlNsPtr>(node) : namespaceOf(node);
}

void freeXMLNode(xmlNodePtr node)
{
    switch (node->type) {
    case XML_NAMESPACE_DECL:
        xmlFreeNs(reinterpret_cast<xmlNsPtr>(node));
        break;
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        xmlFreeDoc(reinterpret_cast<xmlDocPtr>(node));
        break;
    default:
        xmlFreeNode(node);
    }
}

XRXMLNodePtr wrap(xmlNodePtr node, XRXMLNode::Ownership ownership)
{
    if (!node)
        return nullptr;
    if (node->type == XML_ELEMENT_NODE)
        return std::make_shared<XRXMLElement>(node, ownership);
    return std::make_shared<XRXMLNode>(node, ownership);
}

} // namespace

XRXMLNode::XRXMLNode(xmlNodePtr node, Ownership ownership)
    : m_node(node)
    , m_shouldFreeXMLNode(ownership == Ownership::Consuming)
{
}

XRXMLNode::~XRXMLNode()
{
    if (m_shouldFreeXMLNode && m_node)
        freeXMLNode(m_node);
}

void XRXMLNode::load()
{
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    Q_UNUSED(initialised);
}

XRXMLNodePtr XRXMLNode::nodeConsumingXMLNode(xmlNodePtr node)
{
    return wrap(node, Ownership::Consuming);
}

XRXMLNodePtr XRXMLNode::nodeBorrowingXMLNode(xmlNodePtr node)
{
    return wrap(node, Ownership::Borrowing);
}

QString XRXMLNode::localNameForName(const QString &name)
{
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon < 0 || colon == name.size() - 1)
        return name;
    return name.mid(colon + 1);
}

QString XRXMLNode::prefixForName(const QString &name)
{
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : name.left(colon);
}

XRXMLElementPtr XRXMLNode::elementWithName(const QString &name)
{
    load();
    return std::static_pointer_cast<XRXMLElement>(nodeConsumingXMLNode(xmlNewNode(nullptr, xmlChars(name.toUtf8()))));
}

XRXMLElementPtr XRXMLNode::elementWithNameStringValue(const QString &name, const QString &value)
{
    load();
    xmlNodePtr element = xmlNewNode(nullptr, xmlChars(name.toUtf8()));
    if (!element)
        return nullptr;
    xmlNodePtr text = xmlNewText(xmlChars(value.toUtf8()));
    if (!text || !xmlAddChild(element, text)) {
        if (text)
            xmlFreeNode(text);
        xmlFreeNode(element);
        return nullptr;
    }
    return std::static_pointer_cast<XRXMLElement>(nodeConsumingXMLNode(element));
}

XRXMLElementPtr XRXMLNode::elementWithNameURI(const QString &name, const QString &uri)
{
    return elementWithName(placeholderName(name, uri));
}

XRXMLNodePtr XRXMLNode::attributeWithNameStringValue(const QString &name, const QString &value)
{
    load();
    xmlAttrPtr attribute = xmlNewProp(nullptr, xmlChars(name.toUtf8()), xmlChars(value.toUtf8()));
    return nodeConsumingXMLNode(reinterpret_cast<xmlNodePtr>(attribute));
}

XRXMLNodePtr XRXMLNode::attributeWithNameURIStringValue(const QString &name, const QString &uri,
                                                        const QString &value)
{
    return attributeWithNameStringValue(placeholderName(name, uri), value);
}

XRXMLNodePtr XRXMLNode::textWithStringValue(const QString &value)
{
    load();
    return nodeConsumingXMLNode(xmlNewText(xmlChars(value.toUtf8())));
}

XRXMLNodePtr XRXMLNode::namespaceWithNameStringValue(const QString &name, const QString &value)
{
    load();
    const QByteArray prefix = name.toUtf8();
    xmlNsPtr aNamespace = xmlNewNs(nullptr, xmlChars(value.toUtf8()), prefix.isEmpty() ? nullptr : xmlChars(prefix));
    return nodeConsumingXMLNode(reinterpret_cast<xmlNodePtr>(aNamespace));
}

QString XRXMLNode::placeholderName(const QString &name, const QString &uri)
{
    return QStringLiteral("{%1}:%2").arg(uri, localNameForName(name));
}

XRXMLNode::CachedValues &XRXMLNode::cachedValues() const
{
    if (!m_cachedValues)
        m_cachedValues = std::make_unique<CachedValues>();
    return *m_cachedValues;
}

void XRXMLNode::releaseCachedValues()
{
    m_cachedValues.reset();
}

QString XRXMLNode::stringFromXMLString(const xmlChar *bytes) const
{
    if (!bytes)
        return QString();
    if (m_node && m_node->type >= XML_ELEMENT_NODE && m_node->type <= XML_TEXT_NODE && m_node->doc
        && m_node->doc->_private)
        return static_cast<xr::XMLStringsCache *>(m_node->doc->_private)->string(bytes);
    return QString::fromUtf8(reinterpret_cast<const char *>(bytes));
}

QString XRXMLNode::XMLString() const
{
    if (!m_node)
        return QString();
    xr::XMLErrorCollector errors;
    xmlBufferPtr buffer = xmlBufferCreate();
    if (!buffer)
        return QString();
    QString string;
    if (xmlNodeDump(buffer, isNamespaceDeclaration(m_node) ? nullptr : m_node->doc, m_node, 0, 0) >= 0)
        string = QString::fromUtf8(reinterpret_cast<const char *>(xmlBufferContent(buffer)), xmlBufferLength(buffer))
                     .trimmed();
    xmlBufferFree(buffer);
    return string;
}

QString XRXMLNode::localName() const
{
    if (!m_node)
        return QString();
    if (isNamespaceDeclaration(m_node))
        return qualifiedName();
    return localNameForName(stringFromXMLString(m_node->name));
}

QString XRXMLNode::prefix() const
{
    if (!m_node)
        return QString();
    const xmlNsPtr aNamespace = ownNamespace(m_node);
    if (!aNamespace || !aNamespace->prefix)
        return QStringLiteral("");
    return stringFromXMLString(aNamespace->prefix);
}

QString XRXMLNode::URI() const
{
    if (!m_node)
        return QString();
    const xmlNsPtr aNamespace = ownNamespace(m_node);
    return aNamespace ? stringFromXMLString(aNamespace->href) : QString();
}

QString XRXMLNode::qualifiedName() const
{
    if (!m_node)
        return QString();
    if (isNamespaceDeclaration(m_node)) {
        const xmlChar *prefix = reinterpret_cast<xmlNsPtr>(m_node)->prefix;
        return prefix ? stringFromXMLString(prefix) : QStringLiteral("");
    }
    if (!m_node->name)
        return QString();
    // The bytes end in a zero: those of a joined name and the node's own.
    return stringFromXMLString(xmlChars(qualifiedNameBytes(m_node)));
}

QString XRXMLNode::name() const
{
    CachedValues &cached = cachedValues();
    if (cached.name.isNull())
        cached.name = qualifiedName();
    return cached.name;
}

qsizetype XRXMLNode::childCount() const
{
    if (m_cachedValues && m_cachedValues->children)
        return m_cachedValues->children->size();
    qsizetype count = 0;
    for (xmlNodePtr child = firstChild(m_node); child; child = child->next)
        ++count;
    return count;
}

QList<XRXMLNodePtr> XRXMLNode::children() const
{
    CachedValues &cached = cachedValues();
    if (!cached.children) {
        QList<XRXMLNodePtr> children;
        children.reserve(childCount());
        for (xmlNodePtr child = firstChild(m_node); child; child = child->next)
            children.append(nodeBorrowingXMLNode(child));
        cached.children = children;
    }
    return *cached.children;
}

XRXMLNodePtr XRXMLNode::childAtIndex(qsizetype index) const
{
    const QList<XRXMLNodePtr> nodes = children();
    return index >= 0 && index < nodes.size() ? nodes.at(index) : nullptr;
}

XRXMLNode::Kind XRXMLNode::kind() const
{
    if (!m_node)
        return InvalidKind;
    switch (m_node->type) {
    case XML_DOCUMENT_NODE:
    case XML_DOCUMENT_TYPE_NODE:
    case XML_DOCUMENT_FRAG_NODE:
    case XML_HTML_DOCUMENT_NODE:
#ifdef LIBXML_DOCB_ENABLED
    case XML_DOCB_DOCUMENT_NODE:
#endif
        return DocumentKind;
    case XML_ELEMENT_NODE:
        return ElementKind;
    case XML_ATTRIBUTE_NODE:
        return AttributeKind;
    case XML_NAMESPACE_DECL:
        return NamespaceKind;
    case XML_PI_NODE:
    case XML_XINCLUDE_START:
    case XML_XINCLUDE_END:
        return ProcessingInstructionKind;
    case XML_COMMENT_NODE:
        return CommentKind;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        return TextKind;
    case XML_DTD_NODE:
        return DTDKind;
    case XML_ENTITY_REF_NODE:
    case XML_ENTITY_NODE:
    case XML_ENTITY_DECL:
        return EntityDeclarationKind;
    case XML_ATTRIBUTE_DECL:
        return AttributeDeclarationKind;
    case XML_ELEMENT_DECL:
        return ElementDeclarationKind;
    case XML_NOTATION_NODE:
        return NotationDeclarationKind;
    }
    return InvalidKind;
}

QString XRXMLNode::stringValue() const
{
    if (!m_node)
        return QString();
    if (isNamespaceDeclaration(m_node))
        return stringFromXMLString(reinterpret_cast<xmlNsPtr>(m_node)->href);
    if (const xmlChar *content = storedContent(m_node))
        return stringFromXMLString(content);
    xmlChar *content = xmlNodeGetContent(m_node);
    const QString string = stringFromXMLString(content);
    xmlFree(content);
    return string;
}

void XRXMLNode::setStringValue(const QString &value)
{
    if (!m_node || value.isNull())
        return;
    const QByteArray bytes = value.toUtf8();
    if (isNamespaceDeclaration(m_node)) {
        auto *aNamespace = reinterpret_cast<xmlNsPtr>(m_node);
        xmlFree(const_cast<xmlChar *>(aNamespace->href));
        aNamespace->href = xmlStrdup(xmlChars(bytes));
        return;
    }
    // The old children are freed, so the cached wrappers of them must go.
    releaseCachedValues();
    if (m_node->type == XML_ELEMENT_NODE || m_node->type == XML_ATTRIBUTE_NODE) {
        // libxml2 reads the content of these as markup with entity references.
        xmlChar *escaped = xmlEncodeSpecialChars(m_node->doc, xmlChars(bytes));
        xmlNodeSetContent(m_node, escaped);
        xmlFree(escaped);
    } else {
        xmlNodeSetContent(m_node, xmlChars(bytes));
    }
}

bool XRXMLNode::isEqual(const XRXMLNode &other) const
{
    if (this == &other || m_node == other.m_node)
        return true;
    const QString ownName = name();
    const QString otherName = other.name();
    return kind() == other.kind() && ownName.isNull() == otherName.isNull() && ownName == otherName
           && childCount() == other.childCount();
}

size_t XRXMLNode::hash() const
{
    return typeid(XRXMLNode).hash_code();
}

QString XRXMLNode::description() const
{
    const QString xml = XMLString();
    const QString ownName = name();
    return QString::asprintf("%s %p: {type:%d name:%s xml:\"%s\"}",
                             dynamic_cast<const XRXMLElement *>(this) ? "XRXMLElement" : "XRXMLNode",
                             static_cast<const void *>(this), m_node ? int(m_node->type) : -1,
                             ownName.isNull() ? "(null)" : ownName.toUtf8().constData(),
                             xml.isNull() ? "(null)" : xml.toUtf8().constData());
}

std::optional<QList<XRXMLNodePtr>> XRXMLNode::nodesForXPath(const QString &xpath, XRXMLError *error) const
{
    return evaluateXPath(xpath, nullptr, error);
}

std::optional<QList<XRXMLNodePtr>> XRXMLNode::nodesForXPath(const QString &xpath,
                                                            const QMap<QString, QString> &namespaces,
                                                            XRXMLError *error) const
{
    return evaluateXPath(xpath, &namespaces, error);
}

std::optional<QList<XRXMLNodePtr>> XRXMLNode::evaluateXPath(const QString &xpath,
                                                            const QMap<QString, QString> *namespaces,
                                                            XRXMLError *error) const
{
    // A tree outside any document is lent a temporary one for the query.
    xmlDocPtr temporaryDocument = nullptr;
    xmlNodePtr top = m_node;
    if (m_node && !isNamespaceDeclaration(m_node) && !m_node->doc) {
        while (top->parent)
            top = top->parent;
        if (top->type == XML_ELEMENT_NODE && (temporaryDocument = xmlNewDoc(nullptr)))
            xmlDocSetRootElement(temporaryDocument, top);
    }
    if (!m_node || isNamespaceDeclaration(m_node) || !m_node->doc) {
        if (error)
            *error = XRXMLError::withCode(-1, QStringLiteral("invalid node"));
        return std::nullopt;
    }

    xr::XMLErrorCollector errors;
    std::optional<QList<XRXMLNodePtr>> nodes;
    if (xmlXPathContextPtr context = xmlXPathNewContext(m_node->doc)) {
        context->node = m_node;
        if (namespaces) {
            for (auto it = namespaces->begin(); it != namespaces->end(); ++it)
                xmlXPathRegisterNs(context, xmlChars(it.key().toUtf8()), xmlChars(it.value().toUtf8()));
        } else {
            const bool isDocument = m_node->type == XML_DOCUMENT_NODE || m_node->type == XML_HTML_DOCUMENT_NODE;
            const xmlNodePtr owner = isDocument ? xmlDocGetRootElement(m_node->doc) : m_node;
            for (xmlNsPtr aNamespace = owner ? namespaceOf(owner) : nullptr; aNamespace; aNamespace = aNamespace->next)
                xmlXPathRegisterNs(context, aNamespace->prefix ? aNamespace->prefix : BAD_CAST "_def_ns",
                                   aNamespace->href);
        }
        if (xmlXPathObjectPtr result = xmlXPathEvalExpression(xmlChars(xpath.toUtf8()), context)) {
            nodes.emplace();
            const xmlNodeSetPtr found = result->nodesetval;
            for (int i = 0; found && i < found->nodeNr; ++i) {
                xmlNodePtr node = found->nodeTab[i];
                // Namespace nodes of a result are copies that die with it.
                if (isNamespaceDeclaration(node))
                    nodes->append(nodeConsumingXMLNode(
                        reinterpret_cast<xmlNodePtr>(xmlCopyNamespace(reinterpret_cast<xmlNsPtr>(node)))));
                else if (node != reinterpret_cast<xmlNodePtr>(temporaryDocument))
                    nodes->append(nodeBorrowingXMLNode(node));
            }
            xmlXPathFreeObject(result);
        }
        xmlXPathFreeContext(context);
    }
    if (!nodes && error)
        *error = XRXMLError::withCode(errors.lastCode(), errors.lastMessage());

    if (temporaryDocument) {
        xmlUnlinkNode(top);
        xmlSetTreeDoc(top, nullptr);
        xmlFreeDoc(temporaryDocument);
    }
    return nodes;
}

XRXMLNodePtr XRXMLNode::copy() const
{
    xmlNodePtr node = XMLNodeCopy();
    if (!node)
        return nullptr;
    if (dynamic_cast<const XRXMLElement *>(this))
        return std::make_shared<XRXMLElement>(node, Ownership::Consuming);
    return std::make_shared<XRXMLNode>(node, Ownership::Consuming);
}

xmlNodePtr XRXMLNode::XMLNodeCopy() const
{
    if (!m_node)
        return nullptr;
    if (isNamespaceDeclaration(m_node))
        return reinterpret_cast<xmlNodePtr>(xmlCopyNamespace(reinterpret_cast<xmlNsPtr>(m_node)));
    return xmlCopyNode(m_node, 1);
}
