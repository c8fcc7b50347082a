#pragma once
#include <QIcon>
#include <QPixmap>

namespace shell {

// The program icon (several sizes) and the splash picture, drawn rather than stored.
QIcon programIcon();
QPixmap splashPicture(const QSize &size);

} // namespace shell
