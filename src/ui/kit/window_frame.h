// Where a window's frame will stand. A window manager frames a window only
// when it maps it, so before the first showing Qt knows the window's own
// rectangle but not its frame: a window centred by its own rectangle stands
// half a title bar too low, and a window placed by its outer rectangle comes
// up one frame too large. These functions ask the window manager for the
// frame first (on X11: _NET_REQUEST_FRAME_EXTENTS) and place the frame.
#pragma once

#include <QMargins>
#include <QRect>
#include <QRectF>

#include <functional>

class QWidget;

namespace windowFrame {

// The frame the window manager gives, or will give, the top-level window, in
// the window's own units (a window manager draws frames in screen pixels, so
// at 2x a 1-pixel border is half a unit): what Qt knows once the window has
// been framed, before that the window manager's answer to a request; none
// where nobody can tell.
QMarginsF expectedMargins(QWidget *window);

// The window's own rectangle for a frame of these margins covering `outer`,
// to the nearest unit.
QRect clientFor(const QRectF &outer, const QMarginsF &margins);

// The outer rectangle of a frame of `outerSize` centred on `desktop`.
QRectF centredOuter(const QSizeF &outerSize, const QRect &desktop);

// Moves the window so that its frame is centred on its screen's available desktop.
void centreOnDesktop(QWidget *window);

// Centres the window on the desktop when it is first shown, frame included.
void centreOnFirstShowing(QWidget *window);

// Makes the window's native window and asks for its frame now, without
// waiting: the window manager answers while the program goes on, and the
// first showing finds the answer there instead of waiting for it.
void askForFrameEarly(QWidget *window);

// Tests stand in for a window manager: the source answers every question
// about margins until it is reset with an empty function.
using MarginsSource = std::function<QMargins(QWidget *)>;
void setMarginsSource(MarginsSource source);

} // namespace windowFrame
