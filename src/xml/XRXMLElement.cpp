#include "XRXMLElement.h"

#include "XMLTreeHelpers.h"
#include "XRXMLDocument.h"

#include <cstring>

using namespace xr;

namespace {

bool isElementNode(xmlNodePtr node)
{
    return node && node->type == XML_ELEMENT_NODE;
}

bool canBeChildOfElement(xmlNodePtr node)
{
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_ENTITY_REF_NODE:
    case XML_PI_NODE:
    case XML_COMMENT_NODE:
        return true;
    default:
        return false;
    }
}

// Nodes below an element that use one of the given declarations lose their namespace.
void clearNamespaceUses(xmlNodePtr element, xmlNsPtr declarations)
{
    auto isDeclared = [declarations](xmlNsPtr aNamespace) {
        for (xmlNsPtr declaration = declarations; declaration; declaration = declaration->next) {
            if (declaration == aNamespace)
                return true;
        }
        return false;
    };
    if (isDeclared(element->ns))
        element->ns = nullptr;
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        if (isDeclared(attribute->ns))
            attribute->ns = nullptr;
    }
    for (xmlNodePtr child = element->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE)
            clearNamespaceUses(child, declarations);
    }
}

// A parsed document keeps names and short texts in its dictionary, which dies
// with it: a node that leaves the document takes copies of its own.
void takeStringsFromDictionary(xmlNodePtr node, xmlDictPtr dictionary)
{
    auto own = [dictionary](const xmlChar *&string) {
        if (string && xmlDictOwns(dictionary, string) == 1)
            string = xmlStrdup(string);
    };
    own(node->name);
    // An attribute has no content field.
    if (node->type != XML_ATTRIBUTE_NODE) {
        const xmlChar *content = node->content;
        own(content);
        node->content = const_cast<xmlChar *>(content);
    }
    if (node->type == XML_ELEMENT_NODE) {
        for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next)
            takeStringsFromDictionary(reinterpret_cast<xmlNodePtr>(attribute), dictionary);
    }
    if (node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) {
        for (xmlNodePtr child = node->children; child; child = child->next)
            takeStringsFromDictionary(child, dictionary);
    }
}

// An unlinked subtree made independent of its document, so that it may outlive it.
void detachFromDocument(xmlNodePtr node)
{
    if (!node->doc)
        return;
    if (node->doc->dict)
        takeStringsFromDictionary(node, node->doc->dict);
    xmlSetTreeDoc(node, nullptr);
}

} // namespace

XRXMLElementPtr XRXMLElement::elementWithXMLString(const QString &xml, XRXMLError *error)
{
    // The text ends at its first zero character.
    QByteArray bytes = xml.toUtf8();
    bytes.truncate(qstrlen(bytes.constData()));
    const auto document = XRXMLDocument::documentWithData(bytes, 0, error);
    const XRXMLElementPtr root = document ? document->rootElement() : nullptr;
    xmlNodePtr copy = root ? root->XMLNodeCopy() : nullptr;
    if (!copy) {
        if (error)
            *error = XRXMLError::withCode(-1);
        return nullptr;
    }
    return std::static_pointer_cast<XRXMLElement>(nodeConsumingXMLNode(copy));
}

QList<XRXMLNodePtr> XRXMLElement::namespaces() const
{
    QList<XRXMLNodePtr> declarations;
    if (!isElementNode(m_node))
        return declarations;
    for (xmlNsPtr declaration = m_node->nsDef; declaration; declaration = declaration->next) {
        if (!xmlStrEqual(declaration->prefix, BAD_CAST "xml"))
            declarations.append(nodeBorrowingXMLNode(reinterpret_cast<xmlNodePtr>(declaration)));
    }
    return declarations;
}

void XRXMLElement::setNamespaces(const QList<XRXMLNodePtr> &namespaces)
{
    if (!isElementNode(m_node))
        return;
    releaseCachedValues();
    clearNamespaceUses(m_node, m_node->nsDef);
    xmlFreeNsList(m_node->nsDef);
    m_node->nsDef = nullptr;
    for (const XRXMLNodePtr &aNamespace : namespaces) {
        xmlNodePtr node = aNamespace ? aNamespace->XMLNode() : nullptr;
        if (node && isNamespaceDeclaration(node)) {
            const auto *declaration = reinterpret_cast<xmlNsPtr>(node);
            xmlNewNs(m_node, declaration->href, declaration->prefix);
        }
    }
    fixUpNamespacesForNodeGraftingToTreeNode(m_node, m_node);
}

void XRXMLElement::addNamespace(const XRXMLNode &aNamespace)
{
    xmlNodePtr node = aNamespace.XMLNode();
    if (!isElementNode(m_node) || !node || !isNamespaceDeclaration(node))
        return;
    releaseCachedValues();
    const auto *declaration = reinterpret_cast<xmlNsPtr>(node);
    xmlNewNs(m_node, declaration->href, declaration->prefix);
    fixUpNamespacesForNodeGraftingToTreeNode(m_node, m_node);
}

QList<XRXMLElementPtr> XRXMLElement::elementsForName(const QString &name) const
{
    QList<XRXMLElementPtr> elements;
    if (!isElementNode(m_node))
        return elements;
    const QString prefix = prefixForName(name);
    if (!prefix.isNull()) {
        if (xmlNsPtr aNamespace = xmlSearchNs(m_node->doc, m_node, xmlChars(prefix.toUtf8())))
            return elementsForLocalNameURI(localNameForName(name), stringFromXMLString(aNamespace->href));
    }
    // Names compared as bytes spare a string per child.
    const QByteArray bytes = name.toUtf8();
    const QList<XRXMLNodePtr> nodes = children();
    for (const XRXMLNodePtr &child : nodes) {
        xmlNodePtr node = child->XMLNode();
        if (node->type == XML_ELEMENT_NODE && node->name && qualifiedNameBytes(node) == bytes)
            elements.append(std::static_pointer_cast<XRXMLElement>(child));
    }
    return elements;
}

QList<XRXMLElementPtr> XRXMLElement::elementsForLocalNameURI(const QString &localName, const QString &uri) const
{
    QList<XRXMLElementPtr> elements;
    if (!isElementNode(m_node))
        return elements;
    const QByteArray href = uri.toUtf8();
    const QByteArray plainName = localName.toUtf8();
    const QByteArray placeholder = placeholderName(localName, uri).toUtf8();
    xmlNsPtr expected = xmlSearchNsByHref(m_node->doc, m_node, xmlChars(href));
    const QList<XRXMLNodePtr> nodes = children();
    for (const XRXMLNodePtr &child : nodes) {
        xmlNodePtr node = child->XMLNode();
        if (node->type != XML_ELEMENT_NODE)
            continue;
        // A child may declare the URI again for itself.
        xmlNsPtr aNamespace = node->nsDef ? xmlSearchNsByHref(node->doc, node, xmlChars(href)) : expected;
        const QByteArray &sought = aNamespace ? plainName : placeholder;
        if (node->ns == aNamespace && xmlStrEqual(node->name, xmlChars(sought)))
            elements.append(std::static_pointer_cast<XRXMLElement>(child));
    }
    return elements;
}

QList<XRXMLNodePtr> XRXMLElement::attributes() const
{
    CachedValues &cached = cachedValues();
    if (!cached.attributes) {
        QList<XRXMLNodePtr> attributes;
        if (isElementNode(m_node)) {
            for (xmlAttrPtr attribute = m_node->properties; attribute; attribute = attribute->next)
                attributes.append(nodeBorrowingXMLNode(reinterpret_cast<xmlNodePtr>(attribute)));
        }
        cached.attributes = attributes;
    }
    return *cached.attributes;
}

XRXMLNodePtr XRXMLElement::attributeForXMLNode(xmlNodePtr attribute) const
{
    const QList<XRXMLNodePtr> list = attributes();
    for (const XRXMLNodePtr &candidate : list) {
        if (candidate->XMLNode() == attribute)
            return candidate;
    }
    return nullptr;
}

XRXMLNodePtr XRXMLElement::attributeForName(const QString &name) const
{
    if (!isElementNode(m_node))
        return nullptr;
    const QByteArray bytes = name.toUtf8();
    xmlAttrPtr found = xmlHasProp(m_node, xmlChars(bytes));
    if (!found) {
        const QString prefix = prefixForName(name);
        if (prefix.isNull()) {
            found = xmlHasNsProp(m_node, xmlChars(bytes), nullptr);
        } else {
            xmlNsPtr aNamespace = xmlSearchNs(m_node->doc, m_node, xmlChars(prefix.toUtf8()));
            found = xmlHasNsProp(m_node, xmlChars(localNameForName(name).toUtf8()),
                                 aNamespace ? aNamespace->href : nullptr);
        }
    }
    // xmlHasProp may answer a default from the DTD, which is no attribute of the element.
    return found ? attributeForXMLNode(reinterpret_cast<xmlNodePtr>(found)) : nullptr;
}

XRXMLNodePtr XRXMLElement::attributeForLocalNameURI(const QString &localName, const QString &uri) const
{
    if (!isElementNode(m_node))
        return nullptr;
    xmlAttrPtr found = xmlHasNsProp(m_node, xmlChars(localName.toUtf8()), xmlChars(uri.toUtf8()));
    if (!found)
        found = xmlHasNsProp(m_node, xmlChars(placeholderName(localName, uri).toUtf8()), nullptr);
    return found ? attributeForXMLNode(reinterpret_cast<xmlNodePtr>(found)) : nullptr;
}

QString XRXMLElement::resolvePrefixForNamespaceURI(const QString &uri) const
{
    if (!isElementNode(m_node))
        return QString();
    xmlNsPtr aNamespace = xmlSearchNsByHref(m_node->doc, m_node, xmlChars(uri.toUtf8()));
    if (!aNamespace)
        return QString();
    return aNamespace->prefix ? stringFromXMLString(aNamespace->prefix) : QStringLiteral("");
}

void XRXMLElement::addChild(const XRXMLNode &child)
{
    xmlNodePtr node = child.XMLNode();
    if (!isElementNode(m_node) || !node)
        return;
    if (node->type == XML_ATTRIBUTE_NODE) {
        addAttribute(child);
        return;
    }
    if (!canBeChildOfElement(node))
        return;
    releaseCachedValues();
    xmlNodePtr copy = child.XMLNodeCopy();
    if (!copy)
        return;
    // A text copy may be merged into the last text child and freed; the merged node comes back.
    xmlNodePtr added = xmlAddChild(m_node, copy);
    if (!added) {
        xmlFreeNode(copy);
        return;
    }
    fixUpNamespacesForNodeGraftingToTreeNode(added, m_node);
}

void XRXMLElement::removeChild(XRXMLNode &child)
{
    xmlNodePtr node = child.m_node;
    if (!isElementNode(m_node) || !node || isNamespaceDeclaration(node) || node->parent != m_node)
        return;
    releaseCachedValues();
    xmlUnlinkNode(node);
    if (child.m_shouldFreeXMLNode) {
        detachFromDocument(node);
    } else {
        xmlFreeNode(node);
        child.m_node = nullptr;
        child.releaseCachedValues();
    }
}

void XRXMLElement::addAttribute(const XRXMLNode &attribute)
{
    xmlNodePtr given = attribute.XMLNode();
    if (!isElementNode(m_node) || !given || given->type != XML_ATTRIBUTE_NODE)
        return;
    releaseCachedValues();
    const xmlChar *href = given->ns ? given->ns->href : nullptr;
    if (xmlHasNsProp(m_node, given->name, href))
        return;
    xmlNsPtr aNamespace = nullptr;
    if (href) {
        aNamespace = xmlSearchNsByHref(m_node->doc, m_node, href);
        if (!aNamespace)
            aNamespace = xmlNewNs(m_node, href, given->ns->prefix);
    }
    xmlChar *value = xmlNodeGetContent(given);
    xmlAttrPtr added = xmlNewNsProp(m_node, aNamespace, given->name, value);
    xmlFree(value);
    if (added)
        fixUpNamespacesForNodeGraftingToTreeNode(reinterpret_cast<xmlNodePtr>(added), m_node);
}

void XRXMLElement::deleteNamespacePtrFromXMLNode(xmlNsPtr aNamespace, xmlNodePtr node)
{
    if (!aNamespace || !isElementNode(node))
        return;
    xmlNsPtr *link = &node->nsDef;
    while (*link && *link != aNamespace)
        link = &(*link)->next;
    if (!*link)
        return;
    *link = aNamespace->next;
    aNamespace->next = nullptr;
    xmlFreeNs(aNamespace);
}

void XRXMLElement::fixUpNamespacesForNodeGraftingToTreeNode(xmlNodePtr node, xmlNodePtr treeNode)
{
    QHash<xmlNsPtr, xmlNsPtr> substitutions;
    fixUpNamespacesForNodeGraftingToTreeNodeNamespaceSubstitutionMap(node, treeNode, substitutions);
}

void XRXMLElement::fixUpNamespacesForNodeGraftingToTreeNodeNamespaceSubstitutionMap(
    xmlNodePtr node, xmlNodePtr treeNode, QHash<xmlNsPtr, xmlNsPtr> &substitutions)
{
    if (!node || (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE))
        return;
    fixQualifiedNamesForNodeGraftingToTreeNode(node, treeNode);
    fixDuplicateNamespacesForNodeGraftingToTreeNodeNamespaceSubstitutionMap(node, treeNode, substitutions);
    if (node->type == XML_ELEMENT_NODE) {
        for (xmlNodePtr child = node->children; child; child = child->next)
            fixUpNamespacesForNodeGraftingToTreeNodeNamespaceSubstitutionMap(child, treeNode, substitutions);
        for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next)
            fixUpNamespacesForNodeGraftingToTreeNodeNamespaceSubstitutionMap(
                reinterpret_cast<xmlNodePtr>(attribute), treeNode, substitutions);
    }
}

void XRXMLElement::fixQualifiedNamesForNodeGraftingToTreeNode(xmlNodePtr node, xmlNodePtr treeNode)
{
    if (!node || !treeNode || namespaceOf(node) || !node->name)
        return;
    const char *name = reinterpret_cast<const char *>(node->name);
    const char *colon = std::strrchr(name, ':');
    if (colon && colon[1] == '\0')
        return;
    const QByteArray prefix = colon && colon != name ? QByteArray(name, colon - name) : QByteArray();
    const QByteArray localName(colon ? colon + 1 : name);

    xmlNsPtr found = nullptr;
    if (prefix.size() >= 3 && prefix.startsWith('{') && prefix.endsWith('}'))
        found = xmlSearchNsByHref(treeNode->doc, treeNode, xmlChars(prefix.mid(1, prefix.size() - 2)));
    // A default namespace does not apply to attributes: an unprefixed one stays without namespace.
    if (!found && (!prefix.isNull() || node->type == XML_ELEMENT_NODE))
        found = xmlSearchNs(treeNode->doc, treeNode, xmlChars(prefix));
    if (!found)
        return;
    xmlSetNs(node, found);
    xmlNodeSetName(node, xmlChars(localName));
}

void XRXMLElement::fixDuplicateNamespacesForNodeGraftingToTreeNodeNamespaceSubstitutionMap(
    xmlNodePtr node, xmlNodePtr treeNode, QHash<xmlNsPtr, xmlNsPtr> &substitutions)
{
    if (!node || !treeNode)
        return;
    if (node->type == XML_ELEMENT_NODE) {
        for (xmlNsPtr declaration = node->nsDef; declaration;) {
            xmlNsPtr next = declaration->next;
            xmlNsPtr inScope = xmlSearchNsByHref(treeNode->doc, treeNode, declaration->href);
            if (inScope && inScope != declaration && xmlStrEqual(inScope->prefix, declaration->prefix)) {
                substitutions.insert(declaration, inScope);
                deleteNamespacePtrFromXMLNode(declaration, node);
            }
            declaration = next;
        }
    }
    if (xmlNsPtr aNamespace = namespaceOf(node); aNamespace && substitutions.contains(aNamespace))
        xmlSetNs(node, substitutions.value(aNamespace));
}
