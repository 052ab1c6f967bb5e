#pragma once

#include <QString>
#include <QVariantMap>

// A failure reported by a platform service: the domain it comes from, its code
// and a text for the log.
struct XRError
{
    QString domain;
    int code = 0;
    QString localizedDescription;
    QVariantMap userInfo;

    bool isNull() const { return domain.isEmpty() && code == 0; }
    // "domain code: text", the form the log lines print.
    QString description() const
    {
        return QStringLiteral("%1 %2: %3").arg(domain).arg(code).arg(localizedDescription);
    }
};
