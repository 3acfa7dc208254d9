// The play engine: Play/Stop, the four play options, looping, tracing and the step buttons.

#include "play_session.h"
#include "main_sound.h"
#include "song_document.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include "chords/chord_composer.h"
#include "chords/song_structure.h"
#include "editor/line_editor.h"
#include "sound/chord_player.h"
#include "sound/scheduled_play.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <memory>

namespace fw {

PlaySession::PlaySession(PlayView& view, MainSound& sound, const SongDocument& document,
                         QObject* parent)
    : QObject(parent), StopRequested(sound.stopFlag()), m_view(view), m_sound(sound),
      m_document(document) {}

void PlaySession::PlayButtonPressed() {
    // Stop comes first: whatever became of the editor meanwhile, a running play always ends,
    // and a press during its wind-down cannot start a play inside it.
    if (m_playing) {
        m_view.ShowPlayButton(false);
        StopRequested = true;
        return;
    }
    if (m_view.lines().lineCount() == 0) {
        m_view.ShowError(QStringLiteral("No chords to play - no lines in editor."));
        return;
    }
    bool built = false;
    {
        WaitCursor busy;
        built = BuildChordList(QString(), true);
    }
    if (!built)
        return;
    m_playing = true;
    m_view.ShowPlayButton(true);
    PlaySelection(m_view.playOptions().option);
    m_view.ShowLineStatus(m_view.lines().currentLine());
    StopRequested = false;
    m_view.ShowPlayButton(false);
    m_playing = false;
    ShowSilentNotice();
}

// Once per run, after a sounding that could not be heard, panel 0 says why. Callers run it
// after their own status updates, so that the notice is what remains.
void PlaySession::StopThen(std::function<void()> then) {
    if (!m_playing) {
        then();
        return;
    }
    StopRequested = true;
    QTimer::singleShot(10, this, [this, then = std::move(then)]() mutable { StopThen(then); });
}

void PlaySession::ShowSilentNotice() {
    const QString notice = m_sound.TakeSilentNotice();
    if (!notice.isEmpty())
        m_view.ShowStatus(notice);
}

bool PlaySession::BuildChordList(const QString& message, bool interactive) {
    EntryList.clear();
    const int count = m_view.lines().lineCount();
    EntryList.reserve(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        ParsedLine parsed = m_view.ParseChordLine(i, interactive);
        if (!parsed.ok()) {
            if (interactive)
                m_view.SelectLine(i, true);
            if (!IsBlankText(message))
                m_view.ShowError(message);
            return false;
        }
        EntryList.push_back(std::move(parsed.entry));
    }
    return true;
}

void PlaySession::FillDurationTicks(int whole) {
    fw::FillDurationTicks(EntryList, whole);
}

bool PlaySession::HasChordLine(int first, int last) {
    WaitCursor busy;
    for (int i = first; i <= last; ++i)
        if (m_view.ParseChordLine(i, true).isChord())
            return true;
    return false;
}

void PlaySession::PlaySelection(int option) {
    m_view.FocusEditor();
    StopRequested = false;

    if (option == 3) {
        const int c = m_view.lines().currentLine();
        const ParsedLine parsed = m_view.ParseChordLine(c, true);
        if (!parsed.isChord()) {
            m_view.ShowError(
                QStringLiteral("Play Current Line option is selected and current line is "
                               "not a chord definition."));
            m_view.FocusEditor();
            return;
        }
        m_view.SetPlayingControls(false);
        const int selStart = m_view.lines().selectionStart();
        const int selLength = m_view.lines().selectionLength();
        m_view.SelectLine(c, true);
        const int ms = DurationValue(parsed.entry.Duration, WholeNoteMs(m_document.tempo()));
        MainSound& sound = m_sound;
        sound.AcquirePort();
        sound.SelectPatch();
        sound.PlayChord(parsed.entry.Note, parsed.entry.HammerNote, ms, true);
        sound.ReleasePort();
        if (selLength > 0)
            m_view.lines().setSelection(selStart, selLength);
        else
            m_view.SelectLine(c, false);
        m_view.SetPlayingControls(true);
        m_view.FocusEditor();
        return;
    }

    const int selStart = m_view.lines().selectionStart();
    const int selLength = m_view.lines().selectionLength();
    const int n = static_cast<int>(EntryList.size());
    int first = 0;
    int last = n - 1;
    QString none = QStringLiteral("No chords to play in editor.");
    if (option == 1) {
        first = m_view.lines().currentLine();
        none = QStringLiteral("No chords to play from cursor.");
    } else if (option == 2) {
        if (selLength <= 0) {
            m_view.ShowError(QStringLiteral("Play Highlighted option is selected with no lines "
                                            "highlighted."));
            m_view.FocusEditor();
            return;
        }
        first = m_view.lines().currentLine();
        last = m_view.lines().lastSelectedLine();
        none = QStringLiteral("No chords to play in highlighted lines.");
    }
    if (HasChordLine(first, last)) {
        m_view.SetPlayingControls(false);
        PlayRange(first, last);
        m_view.SetPlayingControls(true);
    } else {
        m_view.ShowError(none);
    }
    if (selLength > 0)
        m_view.lines().setSelection(selStart, selLength);
    m_view.FocusEditor();
}

void PlaySession::PlayRange(int first, int last) {
    FillDurationTicks(WholeNoteMs(m_document.tempo()));
    MainSound& sound = m_sound;
    sound.AcquirePort();
    sound.SelectPatch();
    if (sound.makeScheduler) {
        PlayScheduled(first, last);
        sound.ReleasePort();
        return;
    }
    // Chords are scheduled one after another from a single start, so long songs do not drift.
    sound.StartTimeline();
    const SongStructure structure = SongStructure::OfEntries(EntryList);
    const std::vector<SoundingSpan> spans =
        !structure.plain() && last + 1 >= static_cast<int>(EntryList.size())
            ? SoundingOrder(structure, EntryList.size(), static_cast<std::size_t>(first))
            : std::vector<SoundingSpan>{
                  {static_cast<std::size_t>(first), static_cast<std::size_t>(last) + 1, 1, 0, {}}};
    do {
        for (const SoundingSpan& span : spans)
            for (std::size_t i = span.first; i < span.end && !StopRequested; ++i)
                PlayLine(static_cast<int>(i));
    } while (!StopRequested && m_view.playOptions().loop);
    sound.ReleasePort();
}

namespace {
// How often the window tops up the schedule when no chord starts sooner.
constexpr PlayTime FollowInterval{25000};

std::vector<std::string> LineTexts(LineEditor& lines) {
    std::vector<std::string> texts;
    const int count = lines.lineCount();
    texts.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        texts.push_back(ToStd(lines.lineText(i)));
    return texts;
}
} // namespace

void PlaySession::PlayScheduled(int first, int last) {
    MainSound& sound = m_sound;
    const PlayOptions playOptions = m_view.playOptions();
    ScheduledPlayOptions options;
    options.First = first;
    options.Last = last;
    options.Loop = playOptions.loop;
    options.Tempo = m_document.tempo();
    options.TuningOffset = sound.TuningOffset();
    options.Practice = playOptions.practice;
    if (options.Practice.CountInMeasures > 0 || options.Practice.Metronome)
        options.Meter = BeatMeterOfLines(LineTexts(m_view.lines()));
    // A song with structure markers plays in its sounding order when it is played to its end
    // (all of it, or from the cursor): repeats and endings in turn, tempos and meters where
    // they change. Highlighted lines play as they stand.
    const SongStructure structure = SongStructure::OfEntries(EntryList);
    if (!structure.plain() && last + 1 >= static_cast<int>(EntryList.size())) {
        options.Spans = SoundingOrder(structure, EntryList.size(), static_cast<std::size_t>(first));
        options.SongTempo = m_document.tempo();
        options.Meter = structure.firstMeter();
        if (first == 0)
            options.PickupTicks = structure.pickupTicks(WholeNoteTicks);
    }
    const bool trainer = options.Practice.Trainer && options.Loop;

    // The scheduler goes before the port is released: nothing it holds may outlive the play.
    const std::unique_ptr<PlaybackScheduler> scheduler = sound.makeScheduler();
    struct Start {
        PlayTime at;
        int line;
        int tempo;
    };
    std::deque<Start> starts; // chords scheduled and not yet shown, oldest first
    ScheduledPlay play(*scheduler, sound.port(), EntryList, options);
    play.OnChordScheduled = [&](PlayTime at, int line) {
        starts.push_back({at, line, play.CurrentTempo()});
    };
    play.Start(sound.scheduleStartDelay);
    int shownTempo = 0;
    for (;;) {
        // Stop comes first: it clears what is scheduled and turns every note off at once.
        if (StopRequested) {
            play.Stop();
            break;
        }
        // A tempo change holds from the next chord scheduled; those already scheduled keep
        // their time.
        play.SetTempo(m_document.tempo());
        play.Pump();
        const PlayTime now = scheduler->Now();
        int line = -1;
        while (!starts.empty() && starts.front().at <= now) {
            line = starts.front().line;
            if (trainer && starts.front().tempo != shownTempo) {
                shownTempo = starts.front().tempo;
                m_view.ShowTrainerTempo(shownTempo);
            }
            starts.pop_front();
        }
        if (line >= 0)
            ShowPlayingLine(line);
        if (play.Finished())
            break;
        PlayTime next = std::min(now + FollowInterval, play.ScheduledUntil());
        if (!starts.empty())
            next = std::min(next, starts.front().at);
        next = std::max(next, now + PlayTime{100});
        // The two clocks may differ (the synthesizer counts its samples): wait as long on the
        // sounding clock as the scheduler's time has to go.
        sound.WaitFollowing(sound.Now() + (next - now));
    }
    if (shownTempo != 0)
        m_view.ShowTrainerTempo(0);
}

void PlaySession::ShowPlayingLine(int index) {
    const ChordEntry& entry = EntryList[static_cast<std::size_t>(index)];
    m_view.ShowChordMarkers(entry.Fret, entry.HammerFret);
    if (m_view.playOptions().trace)
        m_view.FollowLine(index);
    m_view.ShowChordName(FromStd(entry.Name));
}

void PlaySession::PlayLine(int index) {
    if (index < 0 || index >= static_cast<int>(EntryList.size()))
        return;
    const ChordEntry entry = EntryList[static_cast<std::size_t>(index)];
    if (KindOf(entry) != LineKind::Chord)
        return;
    m_view.ShowChordMarkers(entry.Fret, entry.HammerFret);
    if (m_view.playOptions().trace)
        m_view.FollowLine(index);
    m_view.ShowChordName(FromStd(entry.Name));
    m_sound.PlayTimelineChord(entry.Note, entry.HammerNote, entry.DurationTicks);
}

namespace {
bool IsPlayableText(const QString& text) {
    return !IsBlankText(text) && !IsCommentText(text);
}
} // namespace

// One step: direction +1 plays forward, -1 backward.
void PlaySession::Step(int direction) {
    const int count = m_view.lines().lineCount();
    int c = m_view.lines().currentLine();
    for (int i = c; i >= 0 && i < count; i += direction) {
        if (IsPlayableText(m_view.lines().lineText(i))) {
            c = i;
            break;
        }
    }
    if (!IsPlayableText(m_view.lines().lineText(c))) {
        m_view.ShowError(direction > 0 ? QStringLiteral("Can't step forward from this line")
                                       : QStringLiteral("Can't step back from this line"));
        return;
    }
    m_view.ShowLineStatus(c);
    m_view.SelectLine(c, true);
    QCoreApplication::processEvents(); // the highlight is drawn before the chord sounds
    const ParsedLine parsed = m_view.ParseChordLine(c, true);
    if (parsed.ok()) {
        PreviewChord(parsed.entry.Note, parsed.entry.HammerNote);
        m_view.ShowChordName(FromStd(parsed.entry.Name));
    }
    for (int i = c + direction; i >= 0 && i < count; i += direction) {
        if (IsPlayableText(m_view.lines().lineText(i))) {
            m_view.ShowLineStatus(i);
            m_view.SelectLine(i, true);
            m_view.FocusEditor();
            break;
        }
    }
}

void PlaySession::StepForward() {
    Step(+1);
}
void PlaySession::StepBack() {
    Step(-1);
}

void PlaySession::PreviewChord(const NoteArray& notes, const NoteArray& hammerNotes) {
    // A running play holds the port and watches the stop flag; a preview meanwhile would close
    // the one under it, so nothing is previewed until the play has ended.
    if (m_playing)
        return;
    MainSound& sound = m_sound;
    sound.AcquirePort();
    sound.SelectPatch();
    sound.PlayChord(notes, hammerNotes, PreviewMs, false);
    sound.ReleasePort();
    // A preview's caller updates the line status after it: the notice comes after that.
    if (sound.SilentNoticeDue())
        QTimer::singleShot(0, this, [this] { ShowSilentNotice(); });
}

} // namespace fw
