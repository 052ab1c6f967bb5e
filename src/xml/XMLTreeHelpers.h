#pragma once

#include <QByteArray>

#include <libxml/tree.h>

namespace xr {

// A QByteArray's bytes for libxml2; a null array stays null.
inline const xmlChar *xmlChars(const QByteArray &bytes)
{
    return bytes.isNull() ? nullptr : reinterpret_cast<const xmlChar *>(bytes.constData());
}

// A namespace declaration is an xmlNs, whose layout shares only the type field
// with the other node structures: nothing else may be read from it as a node.
inline bool isNamespaceDeclaration(xmlNodePtr node)
{
    return node->type == XML_NAMESPACE_DECL;
}

// Only elements and attributes have a namespace field.
inline xmlNsPtr namespaceOf(xmlNodePtr node)
{
    return node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE ? node->ns : nullptr;
}

// "prefix:local" for a node in a namespace with a prefix, otherwise the node's
// own name; without a copy in the second case.
inline QByteArray qualifiedNameBytes(xmlNodePtr node)
{
    const char *name = reinterpret_cast<const char *>(node->name);
    const xmlNsPtr aNamespace = namespaceOf(node);
    if (aNamespace && aNamespace->prefix && name)
        return QByteArray(reinterpret_cast<const char *>(aNamespace->prefix)) + ':' + name;
    return QByteArray::fromRawData(name, name ? qsizetype(qstrlen(name)) : 0);
}

} // namespace xr
