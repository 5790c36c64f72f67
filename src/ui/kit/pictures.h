// The small pictures of the main window, drawn by the program itself.
#pragma once

#include <QIcon>

namespace pictures {
QIcon calculator();   // the calculate button
QIcon newAggregate(); // the new-aggregate button
QIcon triangleUp();   // tolerance up
QIcon triangleDown(); // tolerance down
QIcon windowIcon();   // the window and the task bar
// The menu bar's button for items it has no room for: two chevrons
// pointing along the bar.
QIcon moreItems(Qt::Orientation along);
} // namespace pictures
