#pragma once
// The main window's sound: the MIDI port and the chord player over one output and one clock,
// with the values they read (device, channel, octave, patch, tuning offsets, tempo, the stop
// flag) refreshed from the window's state before every sounding.

#include "chords/chord_entry.h"
#include "sound/chord_player.h"
#include "sound/midi_port.h"
#include "sound/playback_scheduler.h"

#include <QString>

#include <functional>
#include <memory>

namespace fw {

class MainSound {
public:
    // `output` and `clock` must outlive this object.
    MainSound(MidiOutput& output, PlayClock& clock);

    // Called before every sounding to copy the window's current values in.
    std::function<void(MidiPortSettings&, ChordPlayerState&)> syncState;

    // The flag the player's waits watch; the window's Stop paths set it.
    bool& stopFlag() { return m_state.StopRequested; }
    MidiPort& port() { return m_port; }

    void setExternalMidiActive(bool active) { m_port.SetExternalMidiActive(active); }
    QString OpenMidiPort();
    void CloseMidiPort() { m_port.CloseMidiPort(); }
    // Opens the port for a sounding (see MidiPort::AcquirePort). When the built-in synthesizer
    // cannot sound (no audio output, or no soundfont), the first such sounding of the run makes
    // a silent-play notice due.
    QString AcquirePort();
    void ReleasePort() { m_port.ReleasePort(); }

    // The notice for the user when soundings of this run are silent: "No audio output found:
    // playing silently. See Help > Sound." or, without a soundfont, "No soundfont found:
    // playing silently. See Help > Sound.". Given once per run: the empty text when none is
    // due or it was already taken.
    bool SilentNoticeDue() const { return !m_silentNotice.isEmpty(); }
    QString TakeSilentNotice();
    void SelectPatch();

    // One chord on its own (previews, the current-line option).
    void PlayChord(const NoteArray& notes, const NoteArray& hammerNotes, int durationMs,
                   bool pumpMessages);
    // A range play: StartTimeline once, then each chord starts where the previous one ended,
    // with events running during its waits, so that a long song keeps its time.
    void StartTimeline();
    void PlayTimelineChord(const NoteArray& notes, const NoteArray& hammerNotes, int durationMs);

    // Makes the scheduler a range play of the open port runs on (the synthesizer's sequencer,
    // the playback thread, or the virtual clock's in tests). Called after AcquirePort; the
    // scheduler is destroyed before ReleasePort. Without it, range plays use the blocking
    // timeline above.
    std::function<std::unique_ptr<PlaybackScheduler>()> makeScheduler;
    // How long after Play the first scheduled event is due: a scheduler whose clock runs on
    // while the first chords are being scheduled needs a few milliseconds to place them on time.
    PlayTime scheduleStartDelay{0};
    // The tuning offsets the window's state gives now (read after a sync).
    std::array<int, 6> TuningOffset();
    // How hammer-on targets sound, as the window's settings say now (read after a sync).
    HammerOnSound HammerOns();
    // Lets the window's events run until `deadline` on the sounding clock, or until the stop
    // flag is set.
    void WaitFollowing(PlayTime deadline);
    PlayTime Now() const { return m_clock.Now(); }

private:
    void sync();

    MidiPortSettings m_portSettings;
    ChordPlayerState m_state;
    MidiPort m_port;
    PlayClock& m_clock;
    ChordPlayer m_player;
    PlayTime m_timeline{0};
    QString m_silentNotice;
    bool m_silentNoticeGiven = false;
};

} // namespace fw
