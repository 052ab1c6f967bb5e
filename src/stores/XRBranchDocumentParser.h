#pragma once

#include "XRError.h"
#include "XRXMLParser.h"

#include <QByteArray>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// Reads a branch document into the branch dictionary: "stores", the records
// of the last "locations" element, and the text of every leaf element outside
// "locations" under the element's name. The downloader, the inspector and the
// tests all call branchDictionary() on the bytes they have.
class XRBranchDocumentParser : private XRXMLParserDelegate
{
public:
    // The branch dictionary; nothing when the document is not well-formed,
    // with the parser's error in *error.
    static std::optional<QVariantMap> branchDictionary(const QByteArray &document, XRError *error = nullptr);

private:
    XRBranchDocumentParser() = default;

    void parserDidStartElement(XRXMLParser *parser, const QString &elementName, const QString &namespaceURI,
                               const QString &qualifiedName, const QHash<QString, QString> &attributes) override;
    void parserDidEndElement(XRXMLParser *parser, const QString &elementName, const QString &namespaceURI,
                             const QString &qualifiedName) override;
    void parserFoundCharacters(XRXMLParser *parser, const QString &string) override;
    void parserFoundCDATA(XRXMLParser *parser, const QByteArray &block) override;

    void storeText(const QString &elementName);

    QVariantMap m_dataDict;
    QVariantList m_stores;
    bool m_parsingStores = false;
    std::optional<QVariantMap> m_store;
    std::optional<QVariantList> m_events;
    std::optional<QVariantMap> m_event;
    // The text of the leaf element now open; null outside one.
    QString m_text;
    bool m_recordingText = false;
};
