#pragma once
// The main window's size, place and maximised state kept from one run to the next in the
// settings (WindowLeft, WindowTop, WindowWidth, WindowHeight, WindowMaximized).

class QWidget;

namespace fw {

struct Settings;

// Gives the hidden `window` the size and place of the settings. The place is used only where a
// screen still shows the window's title bar (ReachableOnScreens); otherwise the size alone is
// kept and the desktop places the window on the primary screen. Either way the window is cut
// to fit inside the available area of that screen, but never smaller than its minimum size. A
// window closed maximised opens maximised. Settings never saved (width 0) change nothing.
void RestoreWindowPlace(QWidget& window, const Settings& settings);

// Writes the shown window's normal frame (the one it returns to from maximised) and its
// maximised state into the settings; a hidden window changes nothing.
void SaveWindowPlace(const QWidget& window, Settings& settings);

} // namespace fw
