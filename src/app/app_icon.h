#pragma once

#include <QIcon>

namespace geocalc::app {

// The program's icon: a closed traverse of four stations on a grid, 32 x 32.
QIcon appIcon();

}  // namespace geocalc::app
