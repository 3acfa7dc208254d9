#pragma once
// Placing the program's windows so that they open where the user looks: centred on the window
// they belong to, and always inside the part of the screen that panels leave free.

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

namespace fw {

// `frame` moved (and, when larger, cut to the size of `available`) so that it lies inside
// `available`; a frame that fits already is returned unchanged. Pure.
QRect FitInside(const QRect& frame, const QRect& available);

// The frame of a window of `content` size centred on `owner`'s frame, then fitted inside
// `available` (FitInside). `decoration` is what the window manager adds around the content
// (title bar, borders). Pure.
QRect CentredFrame(const QSize& content, const QMargins& decoration, const QRect& owner,
                   const QRect& available);

// Whether a window saved at `geometry` can come back there: the middle of its top edge (where
// the title bar is grabbed) lies on one of `screens`. False for an empty geometry. Pure.
bool ReachableOnScreens(const QRect& geometry, const QList<QRect>& screens);

// Moves `window` so that its frame is centred on the available area of the screen it is on
// (the primary screen when it has none yet).
void CentreOnScreen(QWidget& window);

// Moves `window` so that it is centred on its parent's window (on the screen when it has no
// visible parent) and lies inside the available area of that screen; a window too large for
// that area is made smaller when its size may change. Before the window manager has framed the
// window, its frame is taken to be as thick as the parent's.
void CentreOnParent(QWidget& window);

// Once the window manager has framed the shown `window`: a frame that does not lie inside the
// available area of its screen is moved there and, when larger, made smaller (never below the
// window's minimum size). A maximised or full-screen window is left as it is.
void KeepFrameOnScreen(QWidget& window);

} // namespace fw
