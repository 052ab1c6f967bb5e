#include "XRXMLError.h"

const QString XRXMLError::errorDomain = QStringLiteral("se.vaxlo.xml");

XRXMLError XRXMLError::withCode(int code, const QString &message)
{
    XRXMLError error;
    error.domain = errorDomain;
    error.code = code;
    if (!message.isNull())
        error.userInfo.insert(QStringLiteral("error"), message);
    return error;
}
