// vaxlo-inspect reply: what the reservation client reads from a reply document.

#include "InspectCommand.h"
#include "InspectJson.h"

#include "XRReservationReply.h"

#include <QFile>

namespace xr::inspect {

namespace {

// An absent text prints as null, an empty one as "".
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant() : QVariant(value);
}

ExitStatus reply(const QStringList &arguments, Output &output)
{
    if (arguments.size() != 1)
        return BadUsage;
    QFile file(arguments[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        output.error = QStringLiteral("cannot read %1: %2").arg(arguments[0], file.errorString());
        return BadInput;
    }
    const XRReservationReply read = XRReservationReply::fromBody(file.readAll(), 200); // read as a reply served with 200 OK
    if (!read.readable) {
        output.error = QStringLiteral("%1 is not a readable reply document").arg(arguments[0]);
        return BadInput;
    }
    output.json = toJsonText(QVariantMap{
        {QStringLiteral("code"), read.code},
        {QStringLiteral("message"), text(read.message)},
        {QStringLiteral("market"), text(read.market)},
    });
    return Success;
}

[[maybe_unused]] const bool registered = registerCommand({QStringLiteral("reply"), QStringLiteral("reply FILE"), reply});

} // namespace

} // namespace xr::inspect
