#pragma once
// The user's preferences kept between runs. Each field is named after its stored value and
// starts at that value's default; LoadSettings() and SaveSettings() (settings_store.h) move
// them to and from the settings file.

#include <QString>

#include <array>
#include <cstdint>

namespace fw {

struct Settings {
    // "Options"
    bool Prompts = true;               // ask "Save changes to..." before work can be lost
    bool TabPrompt = true;             // titles box before tablature is shown
    bool TabFont = false;              // bold numbers in graphic tablature
    bool ShowTabNoteDurations = false; // a duration letter under each tablature note
    bool Associate = true;             // register the song file association at every start
    bool ShowChordName = true;         // chord-name label above the fretboard
    bool ShowFretNumbers = true;       // fret-number labels on the fretboard
    bool SortDictionary = false;       // keep the chord dictionary sorted
    bool CursorPlays = false;          // cursor up and down sound the chord
    QString LastDir;                   // last folder of the song and MIDI file dialogs
    QString InstallDir;                // folder of BCHORDS.DCT; DefaultInstallDir() when unset
    int MarkerColor = 0xFFFF00;        // fret marker colour as 0x00BBGGRR (aqua)
    std::uint8_t MarkerShape = 5;      // 0 rectangle, 1 square, 4 ellipse, 5 circle
    bool Welcomed = false;             // the welcome dialog has been offered to this user

    // Forms of tablature beyond the plain one, all off by default.
    bool TabStems = false;         // durations drawn as stems and beams in graphic tablature
    bool TabBarsFromMeter = false; // measures end when the chords fill the "* Time:" meter
    bool TabNeckFrets = false;     // the 5th string numbered as on the neck: 0, 6, 7 ...
    bool TabHpMarks = false;       // hammer-ons and pull-offs written 0h2 and 4p2
    bool TabChordNames = false;    // chord names above the staff
    bool TabStringNames = false;   // string names at the start of each staff line

    // "Midi"
    bool ExternalMIDI = false; // keep the MIDI port open for the whole run (from the next start)
    int Device = -1;           // -1 the built-in synthesizer, else the output port index
    int Octave = 0;            // -12, 0 or 12 semitones
    std::uint8_t Channel = 0;  // 0..15; notes go out on the channel after it
    std::uint8_t Patch = 105;  // General MIDI program counted from 0
    QString MenuPatchName = QStringLiteral("  1 Acoustic Grand");
    int MenuPatchTag = 1;
    QString MenuTuningName = QStringLiteral("&Custom Tuning - G D G B D");
    int MenuTuningTag = 55555;
    QString SoundFont; // soundfont of the built-in synthesizer; empty = found automatically

    // "Recent": RecentFile[0] is the most recently opened song.
    std::array<QString, 3> RecentFile;

    bool operator==(const Settings&) const = default;
};

} // namespace fw
