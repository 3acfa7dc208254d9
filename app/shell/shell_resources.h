#pragma once
// The resources compiled into the shell library (help pages, the shipped chord dictionary).
// A static library's resources must be registered by hand before first use.

namespace fw {

// Registers the shell's resources; safe to call any number of times, from the GUI thread.
void InitShellResources();

} // namespace fw
