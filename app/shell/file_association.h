#pragma once
// The song-file association on a freedesktop desktop: a shared-mime-info package that gives
// "*.fwk" (any letter case) the type application/x-fretwick, a desktop entry fretwick.desktop
// that opens such files with the program, the program's icon in the hicolor theme, and the
// program made the type's default application in mimeapps.list. Everything goes under the
// user's own folders ($XDG_DATA_HOME, $XDG_CONFIG_HOME); nothing needs root. A program
// installed system-wide brings its own desktop entry, MIME package and icon: for it only the
// user's default application is set or cleared.

#include "settings_layer.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace fw {

inline constexpr const char* SongMimeType = "application/x-fretwick";
inline constexpr const char* DesktopFileName = "fretwick.desktop";
inline constexpr const char* IconName = "fretwick";

// How the MIME and desktop databases are refreshed after a change: in the background at
// start-up and from the settings dialog, or waited for (tests, and anyone who needs the
// result at once).
enum class DatabaseRefresh { Background, Wait };

// What the association writes: the files in the user's folders and the default (a program run
// from a build tree or an install the desktop does not see), or only the default in
// mimeapps.list (an install whose desktop entry the desktop finds, data_dir.h). Detect picks
// the one that fits the running program.
enum class AssociationScope { Detect, UserFiles, DefaultOnly };

// DefaultOnly when SystemDesktopEntry() finds the installed desktop entry, else UserFiles.
AssociationScope InstalledAssociationScope();

// Writes the association for `extension` (its dots removed: ".fwk" and "fwk" are the same)
// and `description`, for the program at `programPath`. Does nothing when the extension is
// empty after removing its dots or when the program path is empty. Each file is written only
// when its content differs from what is there (atomically), and the databases are refreshed
// only after a change, by update-mime-database and update-desktop-database when they are
// installed; when nothing changed the call only reads four small files. The program is made
// the type's default only when no default is set or the default is already the program. A folder
// that cannot be made is reported as "Failed to create key <folder>", a file that cannot be written
// as "Failed to set data for '<file>'"; the other files are still written. Returns true when
// everything is in place. With the scope DefaultOnly only the default is set (by the same
// rule), and nothing else in the user's folders is written.
bool RegisterFileAssociation(const QString& extension, const QString& description,
                             const QString& programPath, const SettingsErrorReporter& report,
                             DatabaseRefresh refresh = DatabaseRefresh::Background,
                             AssociationScope scope = AssociationScope::Detect);

// Undoes the association when the user turns it off: the program's default entry for the type
// (another program's is kept), the MIME package and the desktop entry in the user's folders are
// removed and the databases refreshed. The icon stays (other entries may name it). A file that
// cannot be removed or rewritten is reported as "Failed to delete '<file>'". Returns true when
// nothing of it is left. With the scope DefaultOnly only the default entry is taken out.
bool UnregisterFileAssociation(const SettingsErrorReporter& report,
                               DatabaseRefresh refresh = DatabaseRefresh::Background,
                               AssociationScope scope = AssociationScope::Detect);

// --- The pieces, for the tests --------------------------------------------------------------

// The shared-mime-info package for `extension` (without dot) and `description`.
QByteArray MimePackageText(const QString& extension, const QString& description);

// The desktop entry that opens songs with the program at `programPath`.
QByteArray DesktopEntryText(const QString& programPath);

// `path` as one argument of a desktop entry's Exec key: "%" doubled; a path holding a
// character the Desktop Entry rules reserve (space, quotes, "\", "$", "#", ...) goes in double
// quotes with `"`, "`", "$" and "\" escaped by a backslash; then every backslash is doubled
// again, as the key's string value needs. Returns nothing for a path holding a line break or
// another control character, which an Exec key cannot carry.
std::optional<QString> ExecArgument(const QString& path);

// `list` (the text of a mimeapps.list) with `desktopId` as the default application of
// `mimeType` in its [Default Applications] group; every other line is kept as it is.
QString WithDefaultApplication(const QString& list, const QString& mimeType,
                               const QString& desktopId);

// The value of `mimeType` in the [Default Applications] group of `list` (a ";"-separated list
// of desktop ids, the first one the default); nothing when the key is not there.
std::optional<QString> DefaultApplicationOf(const QString& list, const QString& mimeType);

// `list` with `desktopId` taken out of `mimeType`'s defaults; the key goes when nothing is left
// of it. Every other line, another program's default included, is kept as it is.
QString WithoutDefaultApplication(const QString& list, const QString& mimeType,
                                  const QString& desktopId);

// The program's icon, a banjo, as PNG bytes of `size` x `size` pixels.
QByteArray ProgramIconPng(int size);

} // namespace fw
