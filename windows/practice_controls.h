#pragma once
// The practice controls of the Play group (count-in, metronome and speed trainer): shown from
// the settings, kept in the settings as the user changes them, and read for a play.

#include "sound/practice.h"

#include <QString>

class QObject;

namespace fw {

struct MainControls;
struct Settings;

// Shows the stored practice choices on the controls, and stores every later change in
// `settings`. `settings` must outlive `context`, which owns the connections.
void BindPracticeControls(MainControls& ui, Settings& settings, QObject* context);

// What the Practice button reads: "P&ractice", followed by what is on, e.g.
// "P&ractice: count-in, metronome, trainer 70→100%".
QString PracticeButtonText(const PracticeSettings& practice);

// The practice choices of `settings` for a play.
PracticeSettings PracticeFromSettings(const Settings& settings);

} // namespace fw
