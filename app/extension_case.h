#pragma once
// File extensions the program insists on, on file systems where letter case matters: a MIDI
// file exported as "song.MID" is still the "song.mid" the player asks for.

#include <QString>

namespace fw {

// `path` with the extension of its file name (from the last dot of the name on, when there is
// one) replaced by `extension`, which starts with its dot: "a/song.MIDI" and ".mid" give
// "a/song.mid", "a/song" gives "a/song.mid".
QString ChangeFileExt(const QString& path, const QString& extension);

// `path` when a file of that name exists. Otherwise an existing file whose name differs only in
// the letter case of the extension ("song.MID", "song.Mid" for "song.mid"), the all upper-case
// one first. The empty text when there is none; folders do not count.
QString ExistingFileAnyExtensionCase(const QString& path);

} // namespace fw
