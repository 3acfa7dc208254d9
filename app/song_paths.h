#pragma once
// Finding the song file a chosen path means. Songs carry the extension ".fwk", and Linux file
// names are case-sensitive: "SONG.FWK", written by another program or typed in Save As, is
// still the song "SONG".

#include <QString>

namespace fw {

// The song file that Open opens for the path the user chose: the chosen file itself when it
// exists and its extension is ".fwk" in any letter case; otherwise the file of the same name
// with the extension ".fwk" or, failing that, ".fwk" in another letter case (the first in name
// order). Returns the empty text when there is none.
QString ExistingSongFile(const QString& chosen);

// The name Open reports as missing: the chosen path with its extension changed to ".fwk".
QString SongPathFor(const QString& chosen);

} // namespace fw
