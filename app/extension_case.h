#pragma once
// File extensions the program insists on, on file systems where letter case matters: a MIDI
// file exported as "song.MID" is still the "song.mid" the player asks for, and "SONG.FWK" is
// still a song.

#include <QString>

namespace fw {

// `path` with the extension of its file name (from the last dot of the name on, when there is
// one) replaced by `extension`, which starts with its dot: "a/song.MIDI" and ".mid" give
// "a/song.mid", "a/song" gives "a/song.mid".
QString ChangeFileExt(const QString& path, const QString& extension);

// `path` when that file exists; otherwise a file in the same folder whose name differs from
// it only in the letter case of the extension (the first in name order, so "song.MID" before
// "song.Mid"); otherwise the empty text. Folders do not count.
QString ExistingFileIgnoringExtensionCase(const QString& path);

} // namespace fw
