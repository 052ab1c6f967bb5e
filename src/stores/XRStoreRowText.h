#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>

// The texts a store row shows, made from a store record's fields.
namespace xr {

// The name whole while shorter than 21 UTF-16 code units, otherwise its first
// 18 followed by "..." (17 where the 18th begins a two-unit character).
QString storeNameText(const QString &name);
// The address whole while shorter than 63 code units, otherwise its first 60
// followed by "...".
QString storeAddressText(const QString &address);
// Empty for exactly 0, metres below 1000, one decimal of kilometres below
// 10000, whole kilometres from there; each rounded to its last shown digit.
QString storeDistanceText(double metres);
// One line per store event, each ended by a line feed: "name: start - stop",
// or "name: start" when the event has no stop.
QString storeEventsText(const QVariant &events);
// "tel:" and the number with every space and tab removed.
QUrl telephoneURL(const QString &number);

} // namespace xr
