#pragma once
// The settings store: every field of Settings is read once at start-up and written once at
// shutdown, as text values in the sections "Options", "Midi" and "Recent" of the per-user
// settings file (on Linux $XDG_CONFIG_HOME/Fretwick/Fretwick.conf, by default
// ~/.config/Fretwick/Fretwick.conf; the registry on Windows).

#include "settings.h"
#include "settings_layer.h"

#include <QString>

#include <string>

namespace fw {

// The file (or registry key) the settings are kept in.
QString SettingsFilePath();

// The reason the settings file must not be read (a folder, a named pipe or a device at its
// path), or the empty text.
std::string SettingsFileProblem();

// Reads every setting, each with its default when missing or unreadable; a value stored as
// something other than a text is reported ("Invalid data type for '<name>'") and takes its
// default. The last folder is read under "Lastdir" or any other spelling. An empty or missing
// InstallDir becomes DefaultInstallDir(), which is created when missing. On the first start
// (Welcomed not set) the shipped chord dictionary is copied into InstallDir when no
// BCHORDS.DCT is there; failures of that are reported too. A damaged file never stops the load.
Settings LoadSettings(const SettingsErrorReporter& report);

// Writes every setting as text ("1"/"0", decimal integers, the 8-bit fields as 0..255) and the
// last folder as "LastDir" (other spellings removed), then writes the file. Returns true on
// success. A settings folder that cannot be made is reported as "Failed to create key
// <folder>", a file that cannot be written as "Failed to set data for '<file>'"; both return
// false.
bool SaveSettings(const Settings& settings, const SettingsErrorReporter& report);

} // namespace fw
