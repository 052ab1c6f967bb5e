#pragma once

#include "XRXMLError.h"

#include <QList>
#include <QMap>
#include <QString>

#include <libxml/tree.h>

#include <memory>
#include <optional>

class XRXMLNode;
class XRXMLElement;
using XRXMLNodePtr = std::shared_ptr<XRXMLNode>;
using XRXMLElementPtr = std::shared_ptr<XRXMLElement>;

// A node of a libxml2 tree: any node type, namespace declarations included.
//
// A consuming wrapper owns its node and frees it, with everything below it, when
// it is destroyed. A borrowing wrapper (children, attributes, namespaces, a
// document's root element, XPath results) points into a tree owned by a
// document or by a consuming wrapper and must not be used once that owner is
// gone; texts read from it stay valid. Lookups that find nothing answer a null
// QString, a null pointer or an empty list. Not for use from two threads at once:
// reads fill caches.
class XRXMLNode
{
public:
    enum class Ownership { Borrowing, Consuming };

    enum Kind {
        InvalidKind = 0,
        DocumentKind,
        ElementKind,
        AttributeKind,
        NamespaceKind,
        ProcessingInstructionKind,
        CommentKind,
        TextKind,
        DTDKind,
        EntityDeclarationKind,
        AttributeDeclarationKind,
        ElementDeclarationKind,
        NotationDeclarationKind,
    };

    XRXMLNode(xmlNodePtr node, Ownership ownership);
    virtual ~XRXMLNode();
    XRXMLNode(const XRXMLNode &) = delete;
    XRXMLNode &operator=(const XRXMLNode &) = delete;

    // Initialises libxml2; every entry point of the layer calls it first.
    static void load();

    // An XRXMLElement for an element node, an XRXMLNode for any other; null for no node.
    static XRXMLNodePtr nodeConsumingXMLNode(xmlNodePtr node);
    static XRXMLNodePtr nodeBorrowingXMLNode(xmlNodePtr node);

    static QString localNameForName(const QString &name);
    static QString prefixForName(const QString &name);

    // New, unattached nodes, owned by the wrapper. A name made with a URI is the
    // placeholder "{URI}:local" until the node is added to a tree.
    static XRXMLElementPtr elementWithName(const QString &name);
    static XRXMLElementPtr elementWithNameStringValue(const QString &name, const QString &value);
    static XRXMLElementPtr elementWithNameURI(const QString &name, const QString &uri);
    static XRXMLNodePtr attributeWithNameStringValue(const QString &name, const QString &value);
    static XRXMLNodePtr attributeWithNameURIStringValue(const QString &name, const QString &uri,
                                                        const QString &value);
    static XRXMLNodePtr textWithStringValue(const QString &value);
    // An empty name declares a default namespace.
    static XRXMLNodePtr namespaceWithNameStringValue(const QString &name, const QString &value);

    xmlNodePtr XMLNode() const { return m_node; }
    bool shouldFreeXMLNode() const { return m_shouldFreeXMLNode; }
    void setShouldFreeXMLNode(bool shouldFree) { m_shouldFreeXMLNode = shouldFree; }

    void releaseCachedValues();
    // The text for libxml2's bytes, the same QString each time for texts of a document.
    QString stringFromXMLString(const xmlChar *bytes) const;

    QString XMLString() const;
    QString localName() const;
    QString prefix() const;
    QString URI() const;
    QString qualifiedName() const;
    QString name() const;
    qsizetype childCount() const;
    QList<XRXMLNodePtr> children() const;
    XRXMLNodePtr childAtIndex(qsizetype index) const;
    Kind kind() const;
    QString stringValue() const;
    void setStringValue(const QString &value);

    // Equal when wrapping the same node, or alike in kind, name and number of children.
    bool isEqual(const XRXMLNode &other) const;
    // The same for every node, as isEqual compares structure.
    size_t hash() const;
    QString description() const;

    // Without a table, the node's own namespace and the declarations that follow
    // it are registered by prefix, a default namespace as "_def_ns". The result is
    // empty when nothing matches and absent, with the error filled, when the query fails.
    std::optional<QList<XRXMLNodePtr>> nodesForXPath(const QString &xpath, XRXMLError *error) const;
    std::optional<QList<XRXMLNodePtr>> nodesForXPath(const QString &xpath, const QMap<QString, QString> &namespaces,
                                                     XRXMLError *error) const;

    // A consuming wrapper of the same class over a deep copy.
    XRXMLNodePtr copy() const;
    // A deep copy owned by the caller.
    xmlNodePtr XMLNodeCopy() const;

protected:
    // The name of a node made with a namespace URI until it is added to a tree.
    static QString placeholderName(const QString &name, const QString &uri);

    // Made on first use: most wrappers of a large document are read once, and stay small.
    struct CachedValues
    {
        QString name;
        std::optional<QList<XRXMLNodePtr>> children;
        std::optional<QList<XRXMLNodePtr>> attributes;
    };
    CachedValues &cachedValues() const;

    xmlNodePtr m_node;
    bool m_shouldFreeXMLNode;
    mutable std::unique_ptr<CachedValues> m_cachedValues;

private:
    // Removing a child clears that child's wrapper.
    friend class XRXMLElement;

    std::optional<QList<XRXMLNodePtr>> evaluateXPath(const QString &xpath, const QMap<QString, QString> *namespaces,
                                                     XRXMLError *error) const;
};
