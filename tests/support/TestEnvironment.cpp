#include "TestEnvironment.h"

#include <QByteArray>

#include <cstdlib>
#include <ctime>

namespace xr::test {

void pinEnvironment(QTemporaryDir &home)
{
    const QByteArray root = home.path().toUtf8();
    qputenv("HOME", root);
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", "Europe/Stockholm");
    tzset();
    qputenv("LANG", "C.UTF-8");
    qunsetenv("LANGUAGE");
    qunsetenv("LC_ALL");
}

} // namespace xr::test
