// The small pictures of the main window, drawn by the program itself.
#pragma once

#include <QIcon>

namespace pictures {
QIcon calculator();   // the calculate button
QIcon newAggregate(); // the new-aggregate button
QIcon triangleUp();   // tolerance up
QIcon triangleDown(); // tolerance down
QIcon windowIcon();   // the window and the task bar
} // namespace pictures
