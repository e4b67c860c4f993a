#pragma once

#include <QIcon>
#include <QPixmap>

namespace quomble {

// The program's icon, drawn at any size: a power symbol over a small bar chart on a
// navy tile.
QPixmap programPixmap(int size);
QIcon programIcon();

}  // namespace quomble
