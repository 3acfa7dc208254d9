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
    bool NameInversions = false;       // Name Chord from Frets adds a slash bass ("C/E")
    QString LastDir;                   // last folder of the song and MIDI file dialogs
    QString InstallDir;                // folder of BCHORDS.DCT; DefaultInstallDir() when unset
    int MarkerColor = 0xFFFF00;        // fret marker colour as 0x00BBGGRR (aqua)
    std::uint8_t MarkerShape = 5;      // 0 rectangle, 1 square, 4 ellipse, 5 circle
    bool Welcomed = false;             // the welcome dialog has been offered to this user
    bool OpenLastSong = false;         // reopen the most recent song at start
    // The main window as it was closed: its normal (not maximised) frame on the desktop, a
    // width of 0 meaning never saved, and whether it was maximised.
    int WindowLeft = 0;
    int WindowTop = 0;
    int WindowWidth = 0;
    int WindowHeight = 0;
    bool WindowMaximized = false;

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
    bool HammerOnsRing = false; // a hammer-on's target rings to the end of its chord

    // "Practice": playing along with a range play. Stored only while one of them differs from
    // its default, so a settings file of a user who never practises stays as it was.
    int CountIn = 0;         // measures of clicks before the first chord: 0, 1 or 2
    bool Metronome = false;  // a click on every beat
    bool Trainer = false;    // the speed trainer (with Loop)
    int TrainerStart = 60;   // percent of the tempo of the first pass, 10..200
    int TrainerStep = 5;     // percent added after every pass, 0..50
    int TrainerTarget = 100; // percent the speed rises to and no further, 10..200

    // "TabView": how the tablature window shows engraved tablature, stored only while it differs
    // from the default.
    int TabZoom = 100;        // percent, 25..400
    bool TabPageView = false; // laid out at the printed page's width instead of the window's

    // "Recent": RecentFile[0] is the most recently opened song.
    std::array<QString, 3> RecentFile;

    bool operator==(const Settings&) const = default;
};

} // namespace fw
