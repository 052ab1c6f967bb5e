#pragma once

#include <QTemporaryDir>

namespace xr::test {

// Gives the test process private data, configuration and cache folders, a fixed
// time zone and the C locale, so that no test touches a user's real files and
// results do not depend on the machine. Call before the application object exists.
void pinEnvironment(QTemporaryDir &home);

} // namespace xr::test
