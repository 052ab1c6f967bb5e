#pragma once

#include "XRXMLElement.h"

#include <QByteArray>

#include <memory>

// A parsed or built XML document: the one owner of its libxml2 tree and of
// the strings cache of its texts. Wrappers taken from it borrow its nodes and
// must not outlive it; the texts they hand out do.
class XRXMLDocument
{
public:
    ~XRXMLDocument();
    XRXMLDocument(const XRXMLDocument &) = delete;
    XRXMLDocument &operator=(const XRXMLDocument &) = delete;

    // Parses the whole text; CDATA sections read as text and white space
    // between elements is dropped. The options are accepted and not used. A
    // document type declaration or an element with more attributes than any
    // real document has is a failure, as is a document that is not well-formed:
    // null, with an error of code -1; on success the error is cleared.
    static std::unique_ptr<XRXMLDocument> documentWithXMLString(const QString &xml, int options, XRXMLError *error);
    static std::unique_ptr<XRXMLDocument> documentWithData(const QByteArray &data, int options, XRXMLError *error);
    // A version 1.0 document whose root is a copy of the element.
    static std::unique_ptr<XRXMLDocument> documentWithRootElement(const XRXMLElement &element);

    XRXMLElementPtr rootElement() const;
    QByteArray XMLData() const;
    // A null text removes the declaration's version or encoding.
    void setVersion(const QString &version);
    void setCharacterEncoding(const QString &encoding);

    std::optional<QList<XRXMLNodePtr>> nodesForXPath(const QString &xpath, XRXMLError *error) const;
    std::optional<QList<XRXMLNodePtr>> nodesForXPath(const QString &xpath, const QMap<QString, QString> &namespaces,
                                                     XRXMLError *error) const;

    QString description() const;

private:
    explicit XRXMLDocument(xmlDocPtr document);
    void addStringsCacheToDoc();

    xmlDocPtr m_xmlDoc;
};
