// Program start: the application title, the program's translation of Qt's
// own texts, and the windows in their order, the main window first.
#pragma once

class TForm1;

// Creates the windows (the main window first, the others hidden) and returns
// the main window, not yet shown. Needs a QApplication.
TForm1 *createWindows();
