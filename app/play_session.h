#pragma once
// Playing the chord list: the play list, Play/Stop, the four play options (all, from the
// cursor, the highlighted lines, the current line), looping, following the playing line, the
// step buttons and chord previews. No widget: the window shows what a play does through
// PlayView, and the sound goes out through MainSound, whose clock tests replace.

#include "chords/chord_entry.h"
#include "chords/chord_parser.h"
#include "sound/play_clock.h"
#include "sound/practice.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace fw {

class LineEditor;
class MainSound;
class SongDocument;

// What the play options on the window say when a play asks.
struct PlayOptions {
    int option = 0;     // 0 all, 1 from the cursor, 2 the highlighted lines, 3 the current line
    bool loop = false;  // play again from the first line until Stop
    bool trace = false; // select each line as it plays
    // Count-in, metronome and speed trainer; all off by default.
    PracticeSettings practice;
};

// What a play needs from the window that shows it.
class PlayView {
public:
    virtual ~PlayView() = default;
    // The chord list being played.
    virtual LineEditor& lines() = 0;
    // Parses a line; clears the shown chord name and reports a bad line when asked.
    virtual ParsedLine ParseChordLine(int lineIndex, bool showErrorBox) = 0;
    // Shows what the line holds (name, markers, status); true for a chord line.
    virtual bool ShowLineStatus(int lineIndex) = 0;
    // Puts the caret on the line (selecting it whole when asked) in the editor.
    virtual void SelectLine(int line, bool wholeLine) = 0;
    // Selects the line a play has reached. A window may scroll its own way (a page at a time);
    // by default the line is selected as SelectLine does.
    virtual void FollowLine(int line) { SelectLine(line, true); }
    virtual void ShowChordMarkers(const FretArray& frets, const FretArray& hammers) = 0;
    virtual void ShowChordName(const QString& name) = 0;
    virtual void ShowError(const QString& text) = 0;
    // A line in the status bar's first panel.
    virtual void ShowStatus(const QString& text) = 0;
    // Greys out (false) or restores (true) every control a play must not be disturbed by.
    virtual void SetPlayingControls(bool enabled) = 0;
    // The Play button reads "Stop" (true) or "Play" (false).
    virtual void ShowPlayButton(bool stop) = 0;
    virtual PlayOptions playOptions() const = 0;
    virtual void FocusEditor() = 0;
    // The speed the speed trainer plays at now, shown beside the tempo; 0 hides it.
    virtual void ShowTrainerTempo(int tempo) { (void)tempo; }
};

class PlaySession : public QObject {
    Q_OBJECT
public:
    PlaySession(PlayView& view, MainSound& sound, const SongDocument& document,
                QObject* parent = nullptr);

    // Set to end the running play; the chord player watches it between and during chords.
    bool& StopRequested;
    // The play list: one entry per editor line (and the empty line after the last), built by
    // BuildChordList; durations in milliseconds once a play has filled them.
    std::vector<ChordEntry> EntryList;

    // True from the start of a play until it has really ended (also while it winds down after
    // a Stop, when the button already reads "Play").
    bool IsPlaying() const { return m_playing; }

    // Play when idle, Stop while a play runs (or winds down): a press never nests plays.
    void PlayButtonPressed();
    // Ends the running play, if any, and runs `then` once it has wound down (at once when no
    // play runs; later from the event loop, as the play's own loop may be on the stack now).
    void StopThen(std::function<void()> then);
    // Parses every line into EntryList; false (the bad line selected when interactive, and
    // `message` shown when not blank) at the first line that does not parse.
    bool BuildChordList(const QString& message, bool interactive);
    bool HasChordLine(int first, int last);
    void PlaySelection(int option);
    void PlayRange(int first, int last);
    void PlayLine(int index);
    // Every entry's duration in milliseconds for a whole note of `whole` milliseconds.
    void FillDurationTicks(int whole);
    void StepForward();
    void StepBack();
    // One chord for the ear (a fretboard click, a cursor move); nothing while a play runs.
    void PreviewChord(const NoteArray& notes, const NoteArray& hammerNotes);

private:
    void Step(int direction);
    // A range play scheduled ahead on the sound's scheduler; this thread only follows it.
    void PlayScheduled(int first, int last);
    void ShowPlayingLine(int index);
    void ShowSilentNotice();

    PlayView& m_view;
    MainSound& m_sound;
    const SongDocument& m_document;
    bool m_playing = false; // from the start of a play until it has wound down
};

} // namespace fw
