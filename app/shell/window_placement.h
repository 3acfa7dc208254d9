#pragma once
// Placing the program's small windows.

class QWidget;

namespace fw {

// Moves `window` so that its frame is centred on the available area of the screen it is on
// (the primary screen when it has none yet).
void CentreOnScreen(QWidget& window);

} // namespace fw
