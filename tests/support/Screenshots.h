#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

namespace xr::test {

// Saves what the widget shows as build-tree/screenshots/NAME.png, so that
// anyone can look at every screen the tests drive.
inline QString saveScreenshot(QWidget *widget, const QString &name)
{
    const QString folder = QStringLiteral(XR_TEST_BUILD_DIR "/screenshots");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    widget->grab().save(path);
    return path;
}

} // namespace xr::test
