#include "XmlWriter.h"

namespace xr::demo {

namespace {
const xmlChar *xml(const char *text)
{
    return reinterpret_cast<const xmlChar *>(text);
}
} // namespace

XmlWriter::XmlWriter()
    : m_buffer(xmlBufferCreate())
    , m_writer(xmlNewTextWriterMemory(m_buffer, 0))
{
    xmlTextWriterSetIndent(m_writer, 1);
    xmlTextWriterSetIndentString(m_writer, xml("  "));
    xmlTextWriterStartDocument(m_writer, nullptr, "UTF-8", nullptr);
}

XmlWriter::~XmlWriter()
{
    if (m_writer)
        xmlFreeTextWriter(m_writer);
    xmlBufferFree(m_buffer);
}

void XmlWriter::startElement(const char *name)
{
    xmlTextWriterStartElement(m_writer, xml(name));
}

void XmlWriter::attribute(const char *name, const QString &value)
{
    xmlTextWriterWriteAttribute(m_writer, xml(name), xml(value.toUtf8().constData()));
}

void XmlWriter::endElement()
{
    xmlTextWriterEndElement(m_writer);
}

void XmlWriter::element(const char *name, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    xmlTextWriterStartElement(m_writer, xml(name));
    if (!utf8.isEmpty())
        xmlTextWriterWriteString(m_writer, xml(utf8.constData()));
    xmlTextWriterEndElement(m_writer);
}

QByteArray XmlWriter::finish()
{
    if (m_writer) {
        xmlTextWriterEndDocument(m_writer);
        xmlFreeTextWriter(m_writer); // flushes into the buffer
        m_writer = nullptr;
    }
    return QByteArray(reinterpret_cast<const char *>(xmlBufferContent(m_buffer)), xmlBufferLength(m_buffer));
}

} // namespace xr::demo
