#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QVariant>

namespace xr::inspect {

// Property-list values as JSON: dates as ISO 8601 text, data as base64,
// numbers as numbers, anything else as its text.
QJsonValue toJson(const QVariant &value);
QByteArray toJsonText(const QVariant &value);

} // namespace xr::inspect
