#pragma once
// ALSA prints its own error lines to stderr (for instance when a machine has no sequencer or
// no sound card); the program reports failures itself, so those lines are dropped.

namespace fw {

// Installs a silent ALSA error handler for the process. Safe to call often; acts once.
void QuietAlsaErrors();

} // namespace fw
