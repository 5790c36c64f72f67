// The accessible names of the main window's boxes and picture buttons.
#pragma once

class TForm1;

namespace accessibility {

// Names every box and picture button of the main window; once, after the
// layout is built.
void nameMainWindow(TForm1 &window);

} // namespace accessibility
