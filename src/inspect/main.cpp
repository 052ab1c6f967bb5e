// vaxlo-inspect: shows support staff what the application makes of a document
// or data file, by running the application's own code on the file's bytes.

#include "InspectCommand.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <libxml/xmlerror.h>

#include <cstdio>

namespace xr::inspect {

static QList<Command> &registry()
{
    static QList<Command> list;
    return list;
}

bool registerCommand(const Command &command)
{
    registry().append(command);
    return true;
}

const QList<Command> &commands()
{
    return registry();
}

} // namespace xr::inspect

using namespace xr::inspect;

// An error is one line however many the reason held, with no control characters.
static QString oneLine(const QString &text)
{
    QString line = text.simplified();
    for (QChar &c : line) {
        if (c.category() == QChar::Other_Control)
            c = u'?';
    }
    return line;
}

static void ignoreMessage(QtMsgType, const QMessageLogContext &, const QString &) {}
static void ignoreXMLMessage(void *, const char *, ...) {}

static void printUsage(FILE *stream)
{
    QTextStream out(stream);
    out << "usage:\n";
    for (const Command &command : commands())
        out << "  vaxlo-inspect " << command.usage << '\n';
    out << "  vaxlo-inspect --help | --version\n";
}

static int usage()
{
    printUsage(stderr);
    return BadUsage;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The inspector prints results, not the application's diagnostics.
    qputenv("QT_LOGGING_RULES", "vaxlo.*=false");
    QLoggingCategory::setFilterRules(QStringLiteral("vaxlo.*=false"));
    // Standard error carries exactly one line per failure: nothing from Qt or libxml2 itself.
    qInstallMessageHandler(ignoreMessage);
    xmlSetGenericErrorFunc(nullptr, ignoreXMLMessage);
    xmlSetStructuredErrorFunc(nullptr, [](void *, xmlErrorPtr) {});

    QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty())
        return usage();
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printUsage(stdout);
        return Success;
    }
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        QTextStream(stdout) << "vaxlo-inspect " << XR_APP_VERSION << '\n';
        return Success;
    }
    for (const Command &command : commands()) {
        if (command.name != name)
            continue;
        Output output;
        const ExitStatus status = command.run(arguments, output);
        if (status == BadUsage) {
            QTextStream(stderr) << "usage: vaxlo-inspect " << command.usage << '\n';
        } else if (status != Success) {
            QTextStream(stderr) << "vaxlo-inspect " << name << ": " << oneLine(output.error) << '\n';
        } else {
            fwrite(output.json.constData(), 1, size_t(output.json.size()), stdout);
        }
        return status;
    }
    return usage();
}
