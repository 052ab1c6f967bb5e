// vaxlo-inspect plist: what the application reads from one of its data files.

#include "InspectCommand.h"
#include "InspectJson.h"

#include "XRDataFiles.h"
#include "XRPropertyList.h"

#include <QFileInfo>

namespace xr::inspect {

namespace {

ExitStatus plist(const QStringList &arguments, Output &output)
{
    if (arguments.size() != 1)
        return BadUsage;
    const QFileInfo file(arguments[0]);
    // The application's own file reading and parsing, pointed at the file's folder;
    // the parse is called directly only to learn its error text, which the
    // application sends to the log.
    XRDataFiles dataFiles(file.absolutePath());
    const std::optional<QByteArray> data = dataFiles.applicationDataFromFile(file.fileName());
    if (!data) {
        output.error = QStringLiteral("cannot read %1").arg(arguments[0]);
        return BadInput;
    }
    QString error;
    const std::optional<QVariant> value = XRPropertyList::propertyListFromData(*data, error);
    if (!value) {
        output.error = QStringLiteral("%1 is not a property list: %2").arg(arguments[0], error);
        return BadInput;
    }
    output.json = toJsonText(*value);
    return Success;
}

[[maybe_unused]] const bool registered = registerCommand({QStringLiteral("plist"), QStringLiteral("plist FILE"), plist});

} // namespace

} // namespace xr::inspect
