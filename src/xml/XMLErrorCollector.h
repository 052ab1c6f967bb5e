#pragma once

#include <QString>

#include <libxml/xmlerror.h>

namespace xr {

// Collects what libxml2 reports through its error callbacks for as long as it
// lives, so that nothing reaches stderr; the previous handlers come back when
// it is destroyed. Keep one on the stack around each libxml2 call that can fail.
class XMLErrorCollector
{
public:
    XMLErrorCollector();
    ~XMLErrorCollector();
    XMLErrorCollector(const XMLErrorCollector &) = delete;
    XMLErrorCollector &operator=(const XMLErrorCollector &) = delete;

    // The code and the message of the last error reported; -1 and a null text without one.
    int lastCode() const { return m_lastCode; }
    QString lastMessage() const { return m_lastMessage; }

private:
    static void structuredError(void *collector, xmlErrorPtr error);
    static void genericError(void *, const char *, ...);

    xmlStructuredErrorFunc m_savedStructured;
    void *m_savedStructuredContext;
    xmlGenericErrorFunc m_savedGeneric;
    void *m_savedGenericContext;
    int m_lastCode = -1;
    QString m_lastMessage;
};

} // namespace xr
