#include "XMLErrorCollector.h"

#include <libxml/globals.h>

namespace xr {

XMLErrorCollector::XMLErrorCollector()
    : m_savedStructured(xmlStructuredError)
    , m_savedStructuredContext(xmlStructuredErrorContext)
    , m_savedGeneric(xmlGenericError)
    , m_savedGenericContext(xmlGenericErrorContext)
{
    xmlSetStructuredErrorFunc(this, &XMLErrorCollector::structuredError);
    // A few code paths print through the generic handler even when a structured one is set.
    xmlSetGenericErrorFunc(this, &XMLErrorCollector::genericError);
}

XMLErrorCollector::~XMLErrorCollector()
{
    xmlSetStructuredErrorFunc(m_savedStructuredContext, m_savedStructured);
    xmlSetGenericErrorFunc(m_savedGenericContext, m_savedGeneric);
}

void XMLErrorCollector::structuredError(void *collector, xmlErrorPtr error)
{
    auto *self = static_cast<XMLErrorCollector *>(collector);
    self->m_lastCode = error ? error->code : -1;
    self->m_lastMessage = error && error->message ? QString::fromUtf8(error->message).trimmed() : QString();
}

void XMLErrorCollector::genericError(void *, const char *, ...)
{
}

} // namespace xr
