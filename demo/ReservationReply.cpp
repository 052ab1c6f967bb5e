#include "ReservationReply.h"

#include "XmlWriter.h"

namespace xr::demo {

QByteArray ReservationReply::toXml() const
{
    XmlWriter xml;
    xml.startElement("ReservationResponse");
    xml.element("Code", QString::number(int(code)));
    xml.element("Message", message);
    xml.element("Market", market);
    if (!reference.isEmpty())
        xml.element("Reference", reference);
    xml.endElement();
    return xml.finish();
}

} // namespace xr::demo
