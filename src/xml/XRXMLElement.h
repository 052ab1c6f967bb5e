#pragma once

#include "XRXMLNode.h"

#include <QHash>

// An element node: child lookup by name, attributes, namespace declarations
// and changes to the tree below it.
//
// Whatever is added is copied first, and the copy's names and namespaces are
// repaired against this element: a placeholder "{URI}:local" name or an
// unprefixed name takes the namespace in scope here, and declarations that
// repeat one in scope are dropped. Every change drops this wrapper's cached
// children, attributes and name; other wrappers of the same node keep theirs.
class XRXMLElement : public XRXMLNode
{
public:
    using XRXMLNode::XRXMLNode;

    // The root element of a text, as a consuming element; null, with an error
    // of code -1, when the text has none.
    static XRXMLElementPtr elementWithXMLString(const QString &xml, XRXMLError *error);

    // The declarations made on this element, without the one of the "xml" prefix.
    QList<XRXMLNodePtr> namespaces() const;
    // Replaces the declarations made here by copies of the given ones. Nodes that
    // used a replaced declaration are left without a namespace.
    void setNamespaces(const QList<XRXMLNodePtr> &namespaces);
    void addNamespace(const XRXMLNode &aNamespace);

    // Direct child elements whose qualified name is the given one; a prefix
    // declared in scope is matched by its URI instead.
    QList<XRXMLElementPtr> elementsForName(const QString &name) const;
    QList<XRXMLElementPtr> elementsForLocalNameURI(const QString &localName, const QString &uri) const;

    QList<XRXMLNodePtr> attributes() const;
    XRXMLNodePtr attributeForXMLNode(xmlNodePtr attribute) const;
    XRXMLNodePtr attributeForName(const QString &name) const;
    XRXMLNodePtr attributeForLocalNameURI(const QString &localName, const QString &uri) const;
    // The prefix the URI is declared under here: empty for a default namespace, null when undeclared.
    QString resolvePrefixForNamespaceURI(const QString &uri) const;

    // An attribute goes to addAttribute(); any other node is appended as a copy.
    void addChild(const XRXMLNode &child);
    // Unlinks the child. A borrowing child's node is freed at once and its wrapper
    // is left without a node; a consuming child keeps its node, now free of any
    // document, and frees it later. Attributes are removed the same way.
    void removeChild(XRXMLNode &child);
    // Nothing changes when an attribute of that name and namespace exists already.
    void addAttribute(const XRXMLNode &attribute);

    // Removes one declaration from the element's own list and frees it.
    static void deleteNamespacePtrFromXMLNode(xmlNsPtr aNamespace, xmlNodePtr node);

    // The namespace repair of a node grafted below treeNode.
    static void fixUpNamespacesForNodeGraftingToTreeNode(xmlNodePtr node, xmlNodePtr treeNode);
    static void fixUpNamespacesForNodeGraftingToTreeNodeNamespaceSubstitutionMap(
        xmlNodePtr node, xmlNodePtr treeNode, QHash<xmlNsPtr, xmlNsPtr> &substitutions);
    static void fixQualifiedNamesForNodeGraftingToTreeNode(xmlNodePtr node, xmlNodePtr treeNode);
    static void fixDuplicateNamespacesForNodeGraftingToTreeNodeNamespaceSubstitutionMap(
        xmlNodePtr node, xmlNodePtr treeNode, QHash<xmlNsPtr, xmlNsPtr> &substitutions);
};
