#pragma once

#include <QCoreApplication>
#include <QLoggingCategory>

#include <libxml/xmlerror.h>

namespace xr::fuzz {

inline void ignoreXMLMessage(void *, const char *, ...) {}

// Once per process: an application object for the code that expects one, and
// silence, so that the fuzzer's own output stays readable.
inline void setUp()
{
    static int argc = 1;
    static char name[] = "vaxlo-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    xmlSetGenericErrorFunc(nullptr, ignoreXMLMessage);
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

} // namespace xr::fuzz

// Every target runs the set-up before its first input.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    xr::fuzz::setUp();
    return 0;
}
