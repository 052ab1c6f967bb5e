#pragma once

#include <QString>
#include <QVariantMap>

// A failure of the XML document layer: always of the layer's own domain, with
// a code and, where libxml2 gave one, a message under "error" in userInfo.
struct XRXMLError
{
    static const QString errorDomain; // "se.vaxlo.xml"

    QString domain;
    int code = 0;
    QVariantMap userInfo;

    // A null error stands for "no error", the value a successful call leaves behind.
    bool isNull() const { return domain.isEmpty() && code == 0; }

    static XRXMLError withCode(int code, const QString &message = QString());
};
