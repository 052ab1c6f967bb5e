// vaxlo-inspect news FILE: the news items the news list makes of a feed.

#include "InspectCommand.h"
#include "InspectJson.h"
#include "XRNewsFeedParser.h"

#include <QFile>

namespace xr::inspect {
namespace {

ExitStatus news(const QStringList &arguments, Output &output)
{
    if (arguments.size() != 1)
        return BadUsage;
    QFile file(arguments[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        output.error = QStringLiteral("cannot read %1: %2").arg(arguments[0], file.errorString());
        return BadInput;
    }
    const XRNewsFeedParser::Result feed = XRNewsFeedParser::parse(file.readAll());
    // The list keeps its last good stories when a feed breaks off, so a broken file shows nothing either.
    if (feed.error) {
        output.error = QStringLiteral("%1 is not a news feed: %2").arg(arguments[0], feed.error->description());
        return BadInput;
    }
    output.json = toJsonText(feed.stories);
    return Success;
}

[[maybe_unused]] const bool registered = registerCommand({QStringLiteral("news"), QStringLiteral("news FILE"), news});

} // namespace
} // namespace xr::inspect
