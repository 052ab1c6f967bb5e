#include "XRXMLParser.h"

#include "XMLMarkupLimits.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstring>

const QString XRXMLParser::errorDomain = QStringLiteral("XRXMLParserErrorDomain");

namespace {
const unsigned char *asBytes(const xmlChar *text)
{
    return reinterpret_cast<const unsigned char *>(text);
}
} // namespace

// libxml2's SAX2 entry points, each forwarding to the delegate unless the parse has stopped.
struct XRXMLParser::Callbacks
{
    static XRXMLParser *self(void *context) { return static_cast<XRXMLParser *>(context); }

    static void startDocument(void *context)
    {
        XRXMLParser *parser = self(context);
        if (!parser->m_stopped && parser->m_delegate)
            parser->m_delegate->parserDidStartDocument(parser);
    }

    static void endDocument(void *context)
    {
        XRXMLParser *parser = self(context);
        if (!parser->m_stopped && parser->m_delegate)
            parser->m_delegate->parserDidEndDocument(parser);
    }

    static void startElement(void *context, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri,
                             int, const xmlChar **, int attributeCount, int, const xmlChar **attributes)
    {
        XRXMLParser *parser = self(context);
        if (parser->m_stopped || !parser->m_delegate)
            return;
        QHash<QString, QString> attributeMap;
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar **attribute = attributes + 5 * i;
            const QString &name = parser->internedName(asBytes(attribute[1]), asBytes(attribute[0]));
            const auto *begin = reinterpret_cast<const char *>(attribute[3]);
            const auto *end = reinterpret_cast<const char *>(attribute[4]);
            attributeMap.insert(name, QString::fromUtf8(begin, end - begin));
        }
        if (parser->m_processNamespaces) {
            // A copy: the second lookup may grow the table and move the first name.
            const QString qualified = parser->internedName(asBytes(prefix), asBytes(localName));
            const QString &local = parser->internedName(nullptr, asBytes(localName));
            parser->m_delegate->parserDidStartElement(parser, local, QString::fromUtf8(reinterpret_cast<const char *>(uri)),
                                                      qualified, attributeMap);
        } else {
            const QString &qualified = parser->internedName(asBytes(prefix), asBytes(localName));
            parser->m_delegate->parserDidStartElement(parser, qualified, QString(), QString(), attributeMap);
        }
    }

    static void endElement(void *context, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri)
    {
        XRXMLParser *parser = self(context);
        if (parser->m_stopped || !parser->m_delegate)
            return;
        if (parser->m_processNamespaces) {
            const QString qualified = parser->internedName(asBytes(prefix), asBytes(localName));
            const QString &local = parser->internedName(nullptr, asBytes(localName));
            parser->m_delegate->parserDidEndElement(parser, local, QString::fromUtf8(reinterpret_cast<const char *>(uri)),
                                                    qualified);
        } else {
            const QString &qualified = parser->internedName(asBytes(prefix), asBytes(localName));
            parser->m_delegate->parserDidEndElement(parser, qualified, QString(), QString());
        }
    }

    static void characters(void *context, const xmlChar *text, int length)
    {
        XRXMLParser *parser = self(context);
        if (!parser->m_stopped && parser->m_delegate)
            parser->m_delegate->parserFoundCharacters(parser, parser->textOfPiece(reinterpret_cast<const char *>(text), length));
    }

    static void cdataBlock(void *context, const xmlChar *bytes, int length)
    {
        XRXMLParser *parser = self(context);
        if (!parser->m_stopped && parser->m_delegate)
            parser->m_delegate->parserFoundCDATA(parser, QByteArray(reinterpret_cast<const char *>(bytes), length));
    }

    // Called before the declaration's internal subset is read, so no entity
    // declared there costs anything.
    static void internalSubset(void *context, const xmlChar *, const xmlChar *, const xmlChar *)
    {
        self(context)->fail(documentRefusedError, QStringLiteral("document type declarations are not accepted"));
    }

    // A reference to an entity declared in a DTD that is never read: it has no
    // replacement text, so it contributes nothing.
    static void reference(void *, const xmlChar *) {}

    static void structuredError(void *context, xmlErrorPtr error)
    {
        // Warnings and namespace complaints do not stop the parse; any other
        // error means the document is not well-formed.
        if (!error || error->level < XML_ERR_ERROR || error->domain == XML_FROM_NAMESPACE)
            return;
        QString message = QString::fromUtf8(error->message ? error->message : "").trimmed();
        self(context)->fail(error->code, QStringLiteral("line %1: %2").arg(error->line).arg(message));
    }
};

XRXMLParser::XRXMLParser(const QByteArray &data)
    : m_data(data)
{
}

XRXMLParser::~XRXMLParser() = default;

const QString &XRXMLParser::internedName(const unsigned char *prefix, const unsigned char *localName)
{
    const auto key = qMakePair(static_cast<const void *>(prefix), static_cast<const void *>(localName));
    if (m_lastName && key == m_lastNameKey)
        return *m_lastName;
    auto it = m_names.constFind(key);
    if (it == m_names.cend()) {
        QString name = QString::fromUtf8(reinterpret_cast<const char *>(localName));
        if (prefix)
            name = QString::fromUtf8(reinterpret_cast<const char *>(prefix)) + QLatin1Char(':') + name;
        it = m_names.insert(key, name);
    }
    m_lastNameKey = key;
    m_lastName = &it.value();
    return *m_lastName;
}

const QString &XRXMLParser::textOfPiece(const char *bytes, int length)
{
    if (length > int(Piece().bytes.size())) {
        m_longPiece = QString::fromUtf8(bytes, length);
        return m_longPiece;
    }
    size_t hash = size_t(length);
    for (int i = 0; i < length; ++i)
        hash = hash * 31 + static_cast<unsigned char>(bytes[i]);
    Piece &piece = m_pieces[hash % m_pieces.size()];
    if (piece.length != length || std::memcmp(bytes, piece.bytes.data(), size_t(length)) != 0) {
        piece.text = QString::fromUtf8(bytes, length);
        std::memcpy(piece.bytes.data(), bytes, size_t(length));
        piece.length = length;
    }
    return piece.text;
}

void XRXMLParser::fail(int code, const QString &message)
{
    if (m_stopped)
        return;
    m_stopped = true;
    m_error = XRError{errorDomain, code, message, {}};
    if (m_context)
        xmlStopParser(static_cast<xmlParserCtxtPtr>(m_context));
    if (m_delegate)
        m_delegate->parserParseErrorOccurred(this, m_error);
}

void XRXMLParser::abortParsing()
{
    fail(delegateAbortedParseError, QStringLiteral("parsing aborted"));
}

bool XRXMLParser::parse()
{
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    Q_UNUSED(initialised);

    // Only the callbacks below are set: no entity declarations are recorded and
    // no DTD or external entity is fetched, so entity expansion attacks end in
    // an "undeclared entity" error at the first reference.
    xmlSAXHandler handler;
    std::memset(&handler, 0, sizeof handler);
    handler.initialized = XML_SAX2_MAGIC;
    handler.startDocument = Callbacks::startDocument;
    handler.endDocument = Callbacks::endDocument;
    handler.startElementNs = Callbacks::startElement;
    handler.endElementNs = Callbacks::endElement;
    handler.characters = Callbacks::characters;
    handler.ignorableWhitespace = Callbacks::characters;
    handler.cdataBlock = Callbacks::cdataBlock;
    handler.reference = Callbacks::reference;
    handler.internalSubset = Callbacks::internalSubset;
    handler.serror = Callbacks::structuredError;

    m_stopped = false;
    m_error = XRError();
    m_names.clear();
    m_lastName = nullptr;
    m_pieces.fill(Piece());

    if (xr::hasElementWithTooManyAttributes(m_data)) {
        fail(documentRefusedError,
             QStringLiteral("an element carries more than %1 attributes").arg(xr::maximumAttributesPerElement));
        return false;
    }

    const char *bytes = m_data.constData();
    const int total = int(std::min<qsizetype>(m_data.size(), INT_MAX));
    // The first bytes let libxml2 detect the document's encoding.
    const int head = std::min(total, 4);
    xmlParserCtxtPtr context = xmlCreatePushParserCtxt(&handler, this, bytes, head, nullptr);
    if (!context) {
        fail(XML_ERR_NO_MEMORY, QStringLiteral("no parser could be made"));
        return false;
    }
    xmlCtxtUseOptions(context, XML_PARSE_NONET);
    m_context = context;
    // In pieces: libxml2 refuses to look ahead over more than 10 MB at once,
    // so a large document pushed whole ends in a "Huge input lookup" error.
    constexpr int chunkSize = 1 << 20;
    for (int offset = head; offset < total && !m_stopped; offset += chunkSize)
        xmlParseChunk(context, bytes + offset, std::min(chunkSize, total - offset), 0);
    if (!m_stopped)
        xmlParseChunk(context, nullptr, 0, 1);
    if (!m_stopped && !context->wellFormed)
        fail(XML_ERR_INTERNAL_ERROR, QStringLiteral("document is not well-formed"));
    m_context = nullptr;
    if (context->myDoc)
        xmlFreeDoc(context->myDoc);
    xmlFreeParserCtxt(context);
    return !m_stopped;
}
