#pragma once
// The folder that holds the chord dictionary BCHORDS.DCT, and the dictionary shipped with the
// program.

#include "settings_layer.h"

#include <QString>

namespace fw {

inline constexpr const char* DictionaryFileName = "BCHORDS.DCT";

// The per-user data folder, $XDG_DATA_HOME/Fretwick (by default ~/.local/share/Fretwick).
QString DefaultInstallDir();

// Creates `dir` with its parents when missing. Returns false, after reporting "Cannot create
// the folder <dir>", when that fails.
bool EnsureFolder(const QString& dir, const SettingsErrorReporter& report);

// Copies the shipped dictionary to `dir`/BCHORDS.DCT unless a file of that name is there; an
// existing file is never replaced. The copy is an ordinary file the user can write. Returns
// true when the file is there afterwards; false, after reporting "Cannot copy the chord
// dictionary to <path>", when the folder is missing or the copy fails.
bool InstallShippedDictionary(const QString& dir, const SettingsErrorReporter& report);

// The text of the dictionary shipped with the program: chord lines, one per CR LF ended line.
// The installed share/fretwick/BCHORDS.DCT when it can be read (data_dir.h), else the copy
// compiled into the program.
QByteArray ShippedDictionary();

} // namespace fw
