#pragma once

#include "XRError.h"

#include <QByteArray>
#include <QHash>

#include <array>
#include <QString>

class XRXMLParser;

// Receives the parser's events in document order. After a parse error
// nothing follows, not even the document end.
class XRXMLParserDelegate
{
public:
    virtual ~XRXMLParserDelegate() = default;
    virtual void parserDidStartDocument(XRXMLParser *) {}
    virtual void parserDidEndDocument(XRXMLParser *) {}
    // Without namespace processing the element name is the name as written
    // (with its prefix) and the URI and qualified name are null.
    virtual void parserDidStartElement(XRXMLParser *, const QString & /*elementName*/,
                                       const QString & /*namespaceURI*/, const QString & /*qualifiedName*/,
                                       const QHash<QString, QString> & /*attributes*/) {}
    virtual void parserDidEndElement(XRXMLParser *, const QString & /*elementName*/,
                                     const QString & /*namespaceURI*/, const QString & /*qualifiedName*/) {}
    // Text of one element may arrive in several pieces.
    virtual void parserFoundCharacters(XRXMLParser *, const QString & /*string*/) {}
    virtual void parserFoundCDATA(XRXMLParser *, const QByteArray & /*block*/) {}
    virtual void parserParseErrorOccurred(XRXMLParser *, const XRError & /*error*/) {}
};

// An event-driven XML parser over a document held in memory. It never loads
// anything from the network or the disk, and substitutes no entities other
// than the five predefined ones and character references. A document with a
// document type declaration, or with an element carrying more attributes than
// any real document has, is refused as a parse error.
class XRXMLParser
{
public:
    static const QString errorDomain; // "XRXMLParserErrorDomain"
    // The code of a parse stopped by abortParsing().
    static constexpr int delegateAbortedParseError = 512;
    // The code of a document refused for its document type declaration or its attributes.
    static constexpr int documentRefusedError = 513;

    explicit XRXMLParser(const QByteArray &data);
    ~XRXMLParser();
    XRXMLParser(const XRXMLParser &) = delete;
    XRXMLParser &operator=(const XRXMLParser &) = delete;

    void setDelegate(XRXMLParserDelegate *delegate) { m_delegate = delegate; }
    XRXMLParserDelegate *delegate() const { return m_delegate; }
    void setShouldProcessNamespaces(bool on) { m_processNamespaces = on; }
    void setShouldReportNamespacePrefixes(bool on) { m_reportPrefixes = on; }
    // External entities are never resolved; the setting is kept for callers that state it.
    void setShouldResolveExternalEntities(bool on) { m_resolveExternalEntities = on; }

    // Reads the whole document; false when it stopped on an error.
    bool parse();
    // Called from a delegate callback: stops the parse, which then ends as failed.
    void abortParsing();
    XRError parserError() const { return m_error; }

private:
    struct Callbacks;
    friend struct Callbacks;

    // The reference holds until the next call.
    const QString &internedName(const unsigned char *prefix, const unsigned char *localName);
    const QString &textOfPiece(const char *bytes, int length);
    void fail(int code, const QString &message);

    QByteArray m_data;
    XRXMLParserDelegate *m_delegate = nullptr;
    bool m_processNamespaces = false;
    bool m_reportPrefixes = false;
    bool m_resolveExternalEntities = false;
    bool m_stopped = false;
    XRError m_error;
    void *m_context = nullptr;
    // Element names come from libxml2's dictionary, so their addresses are stable
    // for one parse: each name is turned into a QString once.
    QHash<QPair<const void *, const void *>, QString> m_names;
    // An element's end names what its start named a moment before.
    QPair<const void *, const void *> m_lastNameKey;
    const QString *m_lastName = nullptr;
    // The whitespace between elements, and many values, arrive as the same
    // few bytes thousands of times: a short piece equal to one seen lately
    // shares its string.
    struct Piece
    {
        std::array<char, 16> bytes{};
        int length = -1;
        QString text;
    };
    std::array<Piece, 64> m_pieces;
    QString m_longPiece;
};
