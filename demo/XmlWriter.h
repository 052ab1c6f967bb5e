#pragma once

#include <QByteArray>
#include <QString>

#include <libxml/xmlwriter.h>

namespace xr::demo {

// Builds one UTF-8 XML document in memory through libxml2's writer, which does
// the escaping. Owns its writer and buffer; finish() hands over the bytes.
class XmlWriter
{
public:
    XmlWriter();
    ~XmlWriter();
    XmlWriter(const XmlWriter &) = delete;
    XmlWriter &operator=(const XmlWriter &) = delete;

    void startElement(const char *name);
    // Only right after startElement().
    void attribute(const char *name, const QString &value);
    void endElement();
    // A leaf element with text; an empty text gives an empty element.
    void element(const char *name, const QString &text);
    QByteArray finish();

private:
    xmlBufferPtr m_buffer;
    xmlTextWriterPtr m_writer;
};

} // namespace xr::demo
