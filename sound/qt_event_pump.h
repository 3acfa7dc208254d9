#pragma once
// The event pump of a Qt program: a nested event loop for the pumped waits of a play.

#include "steady_play_clock.h"

namespace fw {

// An EventPump that runs the calling thread's pending Qt events, then a nested QEventLoop
// that ends when a precise timer reaches `until` or, after any batch of events, when the
// stop flag reads true. Needs a QCoreApplication (or QApplication) on the calling thread.
EventPump QtEventPump();

} // namespace fw
