// vaxlo-inspect request: the reservation request the client sends for a set of
// values, before and after its transport encoding.

#include "InspectCommand.h"
#include "InspectJson.h"

#include "XRReservationRequest.h"

#include <QCommandLineParser>

namespace xr::inspect {

namespace {

ExitStatus request(const QStringList &arguments, Output &output)
{
    XRReservationRequest reservation;
    QString payment;
    const struct
    {
        const char *name;
        QString *value;
    } options[] = {
        {"market", &reservation.langString}, {"currency", &reservation.currency}, {"amount", &reservation.ammount},
        {"id", &reservation.personalID},     {"first", &reservation.firstName},   {"last", &reservation.lastName},
        {"phone", &reservation.phone},       {"date", &reservation.date},         {"branch", &reservation.branchID},
        {"payment", &payment},
    };

    QCommandLineParser parser;
    for (const auto &option : options)
        parser.addOption({QString::fromLatin1(option.name), QString(), QStringLiteral("value")});
    if (!parser.parse(QStringList{QStringLiteral("request")} + arguments) || !parser.positionalArguments().isEmpty())
        return BadUsage;
    for (const auto &option : options) {
        const QString name = QString::fromLatin1(option.name);
        if (!parser.isSet(name) || parser.values(name).size() != 1)
            return BadUsage;
        *option.value = parser.value(name);
    }

    bool isNumber = false;
    reservation.paymentMethod = payment.toInt(&isNumber);
    if (!isNumber) {
        output.error = QStringLiteral("the payment method is not an integer: %1").arg(payment);
        return BadInput;
    }
    output.json = toJsonText(QVariantMap{
        {QStringLiteral("request"), reservation.text()},
        {QStringLiteral("body"), QString::fromLatin1(reservation.body())},
    });
    return Success;
}

[[maybe_unused]] const bool registered = registerCommand(
    {QStringLiteral("request"),
     QStringLiteral("request --market M --currency C --amount A --id N --first F --last L --phone P --date D "
                    "--branch B --payment K"),
     request});

} // namespace

} // namespace xr::inspect
