#include "BranchDocument.h"

#include "StoreDirectory.h"
#include "XmlWriter.h"

#include <QCryptographicHash>

namespace xr::demo {

namespace {

// The day the store list was last edited; it is part of the document, so it
// must not move with the clock.
const QString listEdition = QStringLiteral("2026-11-02");

QByteArray render(const Market &market)
{
    XmlWriter xml;
    xml.startElement("branches");
    xml.element("updated", listEdition);
    xml.startElement("locations");
    for (const Store &store : StoreDirectory::storesFor(market)) {
        xml.startElement("location");
        xml.element("id", store.id);
        xml.element("name", store.name);
        xml.element("city", store.city);
        xml.element("address", store.address);
        xml.element("zip", store.zip);
        xml.element("phone", store.phone);
        xml.element("phone_alt", store.phoneAlt);
        xml.element("latitude", QString::number(store.latitude, 'f', 6));
        xml.element("longitude", QString::number(store.longitude, 'f', 6));
        if (store.eventsForm != EventsForm::Absent) {
            xml.startElement("events");
            for (const StoreEvent &event : store.events) {
                xml.startElement("event");
                xml.element("e_name", event.name);
                xml.element("e_start", event.start);
                if (event.stop)
                    xml.element("e_stop", *event.stop);
                xml.endElement();
            }
            xml.endElement();
        }
        xml.endElement();
    }
    xml.endElement();
    xml.endElement();
    return xml.finish();
}

} // namespace

BranchDocument::BranchDocument(const Market &market)
    : m_bytes(render(market))
{
    const QByteArray hash = QCryptographicHash::hash(m_bytes, QCryptographicHash::Sha256).toHex().left(24);
    m_entityTag = '"' + hash + '"';
}

bool BranchDocument::matches(const QByteArray &ifNoneMatch) const
{
    for (QByteArray candidate : ifNoneMatch.split(',')) {
        candidate = candidate.trimmed();
        // A weak comparison is what "If-None-Match" asks for.
        if (candidate.startsWith("W/"))
            candidate = candidate.mid(2);
        if (candidate == "*" || candidate == m_entityTag)
            return true;
    }
    return false;
}

} // namespace xr::demo
