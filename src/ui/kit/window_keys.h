// The keyboard's way into the menus and between the windows:
//   F10                  opens the main menu, as on Windows;
//   Shift+F10, Menu key  open the focused control's popup menu, as the right
//                        mouse button does;
//   Escape               in a menu of the menu bar closes that menu and gives
//                        the keys straight back to the focused control
//                        (Qt would leave the menu bar holding them);
//   F1 ... F12           in a secondary window run the main window's commands.
#pragma once

class QMenuBar;
class QWidget;

namespace windowKeys {

// Installs the menu keys on the window and every control in it.
void installMenuKeys(QWidget *window, QMenuBar *menuBar);

// Passes the function keys pressed in `from` (or any control in it) on to
// `to`, which runs them as if they had been pressed there.
void forwardFunctionKeys(QWidget *from, QWidget *to);

} // namespace windowKeys
