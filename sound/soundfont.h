#pragma once
// Where the built-in synthesizer and the audio renderer find their General MIDI soundfont.

#include <string>
#include <vector>

namespace fw {

// The soundfonts looked for, best first.
const std::vector<std::string>& StandardSoundFonts();

// The first readable soundfont (a RIFF "sfbk" or "DLS " file) among `preferred` (when not
// empty) and then `candidates`. The empty text when there is none.
std::string FindSoundFont(const std::string& preferred,
                          const std::vector<std::string>& candidates = StandardSoundFonts());

} // namespace fw
