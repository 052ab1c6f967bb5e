// vaxlo-inspect branches FILE [--near LAT,LON [--default ID]]
//
// The branch dictionary the application makes of a branch document, and with
// --near the stores in the order the store list shows them from there.

#include "InspectCommand.h"
#include "InspectJson.h"
#include "XRBranchDocumentParser.h"
#include "XRStoreCollection.h"
#include "XRStoreOrdering.h"

#include <QFile>
#include <QGeoCoordinate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace xr::inspect {
namespace {

struct BranchesArguments
{
    QString file;
    std::optional<QGeoCoordinate> near;
    QString defaultStoreId;
};

// "59.33,18.06": two decimal numbers that make a valid coordinate.
std::optional<QGeoCoordinate> coordinateFromText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    bool latitudeOk = false;
    bool longitudeOk = false;
    const QGeoCoordinate coordinate(parts[0].trimmed().toDouble(&latitudeOk), parts[1].trimmed().toDouble(&longitudeOk));
    if (!latitudeOk || !longitudeOk || !coordinate.isValid())
        return std::nullopt;
    return coordinate;
}

std::optional<BranchesArguments> parseArguments(const QStringList &arguments)
{
    BranchesArguments parsed;
    bool defaultGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--near") && i + 1 < arguments.size()) {
            parsed.near = coordinateFromText(arguments[++i]);
            if (!parsed.near)
                return std::nullopt;
        } else if (argument == QLatin1String("--default") && i + 1 < arguments.size()) {
            parsed.defaultStoreId = arguments[++i];
            defaultGiven = true;
        } else if (!argument.startsWith(QLatin1String("--")) && parsed.file.isEmpty()) {
            parsed.file = argument;
        } else {
            return std::nullopt;
        }
    }
    if (parsed.file.isEmpty() || (defaultGiven && !parsed.near))
        return std::nullopt;
    return parsed;
}

// The stores as the store list orders them from the position, through the
// application's own store collection.
QJsonArray storesNear(const QVariantMap &branches, const QGeoCoordinate &position, const QString &defaultStoreId)
{
    XRStoreCollection collection;
    collection.setupStoresArray({{QStringLiteral("storesDict"), branches}});
    QVariantList stores = collection.storesArray().value_or(QVariantList());
    xr::addDistanceToStores(stores, position);
    QJsonArray near;
    for (const QVariant &item : xr::sortStoresByDistance(stores, defaultStoreId)) {
        const QVariantMap store = item.toMap();
        near.append(QJsonObject{
            {QStringLiteral("id"), store.value(QStringLiteral("id")).toString()},
            {QStringLiteral("name"), store.value(QStringLiteral("name")).toString()},
            {QStringLiteral("city"), store.value(QStringLiteral("city")).toString()},
            {QStringLiteral("distance"), store.value(QStringLiteral("distance")).toDouble()},
        });
    }
    return near;
}

ExitStatus runBranches(const QStringList &arguments, Output &output)
{
    const std::optional<BranchesArguments> parsed = parseArguments(arguments);
    if (!parsed)
        return BadUsage;
    QFile file(parsed->file);
    if (!file.open(QIODevice::ReadOnly)) {
        output.error = QStringLiteral("cannot read %1: %2").arg(parsed->file, file.errorString());
        return BadInput;
    }
    XRError error;
    const std::optional<QVariantMap> branches = XRBranchDocumentParser::branchDictionary(file.readAll(), &error);
    if (!branches) {
        output.error = QStringLiteral("not a branch document: %1").arg(error.localizedDescription);
        return BadInput;
    }
    if (!parsed->near) {
        output.json = toJsonText(*branches);
        return Success;
    }
    const QJsonObject result{
        {QStringLiteral("branches"), toJson(*branches)},
        {QStringLiteral("near"), storesNear(*branches, *parsed->near, parsed->defaultStoreId)},
    };
    output.json = QJsonDocument(result).toJson(QJsonDocument::Indented);
    return Success;
}

const bool registered = registerCommand({
    QStringLiteral("branches"),
    QStringLiteral("branches FILE [--near LAT,LON [--default ID]]"),
    runBranches,
});

} // namespace
} // namespace xr::inspect
