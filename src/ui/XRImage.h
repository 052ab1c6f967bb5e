#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Our pictures are PNGs compiled into the binary, read by libpng outright:
// Qt's reader would load every image-format plugin to choose one.
namespace xr {

// The picture at the path, shared with every earlier read of it; a null
// pixmap when it cannot be read.
QPixmap pngPixmap(const QString &path);
QIcon pngIcon(const QString &path);

} // namespace xr
