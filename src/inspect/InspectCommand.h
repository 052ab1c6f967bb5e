#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace xr::inspect {

// Exit statuses of every subcommand.
enum ExitStatus { Success = 0, BadInput = 1, BadUsage = 2 };

// What a subcommand writes: JSON on standard output, or one line on standard error.
struct Output
{
    QByteArray json;
    QString error;
};

struct Command
{
    QString name;
    QString usage; // shown by the bad-usage message, after "vaxlo-inspect "
    std::function<ExitStatus(const QStringList &arguments, Output &output)> run;
};

// Makes a subcommand known to main(); used once per subcommand file, at static
// initialisation: static const bool registered = registerCommand({...});
bool registerCommand(const Command &command);
const QList<Command> &commands();

} // namespace xr::inspect
