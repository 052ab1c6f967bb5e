#include "XRBranchDocumentParser.h"

#include <utility>

namespace {

// Every element name is compared with these; a difference in length settles
// most comparisons without reading the characters.
const QString locationsElement = QStringLiteral("locations");
const QString locationElement = QStringLiteral("location");
const QString eventsElement = QStringLiteral("events");
const QString eventElement = QStringLiteral("event");
const QString eventNameElement = QStringLiteral("e_name");
const QString eventStartElement = QStringLiteral("e_start");
const QString eventStopElement = QStringLiteral("e_stop");
const QString storesKey = QStringLiteral("stores");

bool isContainer(const QString &name)
{
    return name == locationElement || name == locationsElement || name == eventElement || name == eventsElement;
}

bool isEventField(const QString &name)
{
    return name == eventNameElement || name == eventStartElement || name == eventStopElement;
}

} // namespace

std::optional<QVariantMap> XRBranchDocumentParser::branchDictionary(const QByteArray &document, XRError *error)
{
    XRBranchDocumentParser reader;
    XRXMLParser parser(document);
    parser.setDelegate(&reader);
    if (!parser.parse()) {
        if (error)
            *error = parser.parserError();
        return std::nullopt;
    }
    return std::move(reader.m_dataDict);
}

void XRBranchDocumentParser::parserDidStartElement(XRXMLParser *, const QString &name, const QString &,
                                                   const QString &, const QHash<QString, QString> &)
{
    if (!isContainer(name)) {
        m_text = QString();
        m_recordingText = true;
        return;
    }
    // A container's own text is never collected.
    m_recordingText = false;
    m_text = QString();
    if (name == locationElement) {
        m_store.emplace();
    } else if (name == locationsElement) {
        m_stores = QVariantList();
        m_parsingStores = true;
    } else if (name == eventElement) {
        m_event.emplace();
    } else {
        m_events.emplace();
    }
}

void XRBranchDocumentParser::parserFoundCharacters(XRXMLParser *, const QString &string)
{
    if (!m_recordingText)
        return;
    // Most texts arrive in one piece: keep that piece rather than copy it.
    if (m_text.isNull())
        m_text = string;
    else
        m_text += string;
}

void XRBranchDocumentParser::parserFoundCDATA(XRXMLParser *parser, const QByteArray &block)
{
    // Bytes that are not UTF-8 turn into replacement characters.
    if (m_recordingText)
        parserFoundCharacters(parser, QString::fromUtf8(block));
}

void XRBranchDocumentParser::parserDidEndElement(XRXMLParser *, const QString &name, const QString &,
                                                 const QString &)
{
    if (m_recordingText) {
        storeText(name);
    } else if (name == eventElement) {
        if (m_events && m_event)
            m_events->append(*m_event);
        m_event.reset();
    } else if (name == eventsElement) {
        if (m_store && m_events)
            m_store->insert(eventsElement, *m_events);
        m_events.reset();
    } else if (name == locationElement) {
        if (m_parsingStores && m_store)
            m_stores.append(*m_store);
        m_store.reset();
    } else if (name == locationsElement) {
        m_dataDict.insert(storesKey, std::exchange(m_stores, QVariantList()));
        m_parsingStores = false;
    }
    m_recordingText = false;
    m_text = QString();
}

// A leaf element has ended: its text goes to the open event, the open store
// or, outside "locations", the document level. Inside "locations" a field
// with no event or store open belongs to nothing and is dropped.
void XRBranchDocumentParser::storeText(const QString &name)
{
    // An element whose text was never seen is empty, not null.
    const QString text = m_text.isNull() ? QStringLiteral("") : m_text;
    if (!m_parsingStores) {
        m_dataDict.insert(name, text);
    } else if (isEventField(name)) {
        if (m_event)
            m_event->insert(name, text);
    } else if (m_store) {
        m_store->insert(name, text);
    }
}
