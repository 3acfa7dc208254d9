#pragma once
// The folder of the files installed with the program, share/fretwick: the chord dictionary
// BCHORDS.DCT, the help pages (help/) and the example songs (examples/). It is looked for
// beside the program first (<program folder>/../share/fretwick: a relocated install, and the
// build tree, which stages the same files there), then under the prefix the program was built
// for. The dictionary and the help pages are also compiled into the program, which uses them
// when no folder is found.

#include <QString>
#include <QStringList>

namespace fw {

// The folders where the data may be, in the order they are tried, for a program in
// `programFolder` built for the data folder `installedDataDir`; no folder appears twice.
QStringList ProgramDataDirCandidates(const QString& programFolder, const QString& installedDataDir);

// The first candidate that holds the chord dictionary, for the running program; empty when
// none does (or before the application object exists).
QString ProgramDataDir();

// `relative` (such as "help/index.html") inside ProgramDataDir(); empty when the file is not
// there.
QString ProgramDataFile(const QString& relative);

// The share/applications/fretwick.desktop installed with the program when the desktop finds
// it (its share folder is one of the XDG data folders, the user's own excepted); empty when the
// program runs from a build tree or an install the desktop does not look into.
QString SystemDesktopEntry();

} // namespace fw
