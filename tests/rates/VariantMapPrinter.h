#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

#include <ostream>

// Currency rows and result dictionaries print as JSON in failure messages.
inline void PrintTo(const QVariantMap &map, std::ostream *out)
{
    *out << QJsonDocument(QJsonObject::fromVariantMap(map)).toJson(QJsonDocument::Compact).toStdString();
}
