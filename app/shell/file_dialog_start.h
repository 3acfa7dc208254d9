#pragma once
// Where save and export dialogs start and what name they offer. A dialog never starts in the
// folder the program was started from (often a source checkout): it starts in the song's own
// folder, else in the last folder used (the LastDir setting), else in the home folder. The
// offered name is the song's name, or "Untitled", with the export's extension in lower case;
// a bare ".mid" would be a hidden file on Linux.

#include <QString>

namespace fw {

// The folder a save or export dialog starts in: the folder of `songPath` when it has one and
// that folder exists, else `lastDir` when it names an existing folder, else the home folder.
// Always absolute.
QString DialogStartFolder(const QString& songPath, const QString& lastDir);

// The file name a save or export dialog offers: the name of `songPath` without its extension,
// or "Untitled" for a song never saved, followed by `extension` (given with its dot and made
// lower case): ("/songs/Creek.fwk", ".MID") gives "Creek.mid".
QString SuggestedFileName(const QString& songPath, const QString& extension);

// DialogStartFolder joined with SuggestedFileName: the full path a dialog preselects.
QString SuggestedFilePath(const QString& songPath, const QString& lastDir,
                          const QString& extension);

} // namespace fw
