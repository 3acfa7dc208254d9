// Playing the chord list on the virtual clock, with no main window: each option and its
// message, errors that stop a play before it starts, looping until Stop, tracing, the tuning
// and the step buttons.

#include "app/main_sound.h"
#include "app/play_session.h"
#include "app/shell/settings.h"
#include "app/song_document.h"
#include "editor/line_editor.h"
#include "sound/recording_output.h"
#include "sound/recording_scheduler.h"
#include "sound/virtual_play_clock.h"
#include "ui/qt_text.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace fw::testing {
namespace {

using std::chrono::milliseconds;

// The window as a play sees it: the chord list in a bare editor, and a record of what the play
// showed.
class RecordingPlayView : public PlayView {
public:
    LineEditor& lines() override { return m_lines; }
    ParsedLine ParseChordLine(int lineIndex, bool showErrorBox) override {
        ParsedLine parsed = ParseChordText(ToStd(m_lines.lineText(lineIndex)), lineIndex, MaxFret);
        if (!parsed.ok() && showErrorBox)
            errors << FromStd(parsed.error);
        return parsed;
    }
    bool ShowLineStatus(int lineIndex) override {
        return ParseChordLine(lineIndex, false).isChord();
    }
    void SelectLine(int line, bool wholeLine) override { m_lines.selectLine(line, wholeLine); }
    void ShowChordMarkers(const FretArray&, const FretArray&) override {}
    void ShowChordName(const QString& name) override { chordName = name; }
    void ShowError(const QString& text) override { errors << text; }
    void ShowStatus(const QString& text) override { statuses << text; }
    void SetPlayingControls(bool enabled) override { controlsEnabled = enabled; }
    void ShowPlayButton(bool stop) override { stopShown = stop; }
    PlayOptions playOptions() const override { return options; }
    void FocusEditor() override {}
    void ShowTrainerTempo(int tempo) override { trainerTempos.push_back(tempo); }

    QPlainTextEdit editor;
    PlayOptions options;
    QStringList errors;
    QStringList statuses;
    QString chordName;
    bool controlsEnabled = true;
    bool stopShown = false;
    std::vector<int> trainerTempos;

private:
    LineEditor m_lines{&editor};
};

class PlayEngine : public ::testing::Test {
protected:
    PlayEngine() {
        sound.syncState = [this](MidiPortSettings& port, ChordPlayerState& player) {
            port.Device = settings.Device;
            port.Channel = settings.Channel;
            port.Octave = settings.Octave;
            port.Patch = document.Patch();
            player.TuningOffset = document.TuningOffset();
            player.Tempo = document.tempo();
        };
        sound.makeScheduler = [this] {
            return std::make_unique<RecordingScheduler>(clock, output);
        };
        // Every play asks; a play that never ended would otherwise hang the test.
        clock.At(milliseconds(600000), [this] { session.StopRequested = true; });
    }

    void SetText(const QString& text) { view.editor.setPlainText(text); }
    void Option(int option) { view.options.option = option; }
    void Caret(int line) { view.lines().selectLine(line, false); }
    QStringList Messages() const { return view.errors; }
    std::vector<std::uint32_t> Sent() const { return output.Packed(); }
    std::vector<int> NoteOnKeys(std::size_t skip = 0) const { return output.NoteOnKeys(skip); }
    // Times (ms) of the note-on messages with key `key`.
    std::vector<long> OnsetsOf(int key) const {
        std::vector<long> times;
        for (const auto& event : output.Messages())
            if ((event.message & 0xF0) == 0x90 && ((event.message >> 8) & 0xFF) == unsigned(key) &&
                ((event.message >> 16) & 0xFF) != 0)
                times.push_back(static_cast<long>(
                    std::chrono::duration_cast<milliseconds>(event.time).count()));
        return times;
    }

    Settings settings;
    VirtualPlayClock clock;
    RecordingOutput output{&clock};
    MainSound sound{output, clock};
    SongDocument document{settings.Patch};
    RecordingPlayView view;
    PlaySession session{view, sound, document};
};

struct MessageCase {
    const char* label;
    const char* text;
    int option;
    int selectionStart;
    int selectionLength;
    const char* message;
};

class PlayMessages : public PlayEngine, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(PlayMessages, SayWhyNothingPlays) {
    const MessageCase& c = GetParam();
    SetText(QString::fromUtf8(c.text));
    view.lines().setSelection(c.selectionStart, c.selectionLength);
    Option(c.option);
    session.PlayButtonPressed();
    EXPECT_EQ(Messages(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(view.stopShown);
    EXPECT_TRUE(view.controlsEnabled) << "the controls are never left disabled";
}

INSTANTIATE_TEST_SUITE_P(
    Options, PlayMessages,
    ::testing::Values(
        MessageCase{"empty", "", 0, 0, 0, "No chords to play - no lines in editor."},
        MessageCase{"all_comments", "* one\n* two", 0, 0, 0, "No chords to play in editor."},
        MessageCase{"from_cursor", "G, 0, 0, 0, 0, 0, Q\n* end", 1, 20, 0,
                    "No chords to play from cursor."},
        MessageCase{"highlighted_nothing", "G, 0, 0, 0, 0, 0, Q", 2, 0, 0,
                    "Play Highlighted option is selected with no lines highlighted."},
        MessageCase{"highlighted_blank", "\n\n\nG, 0, 0, 0, 0, 0, Q", 2, 0, 2,
                    "No chords to play in highlighted lines."},
        MessageCase{"current_comment", "* verse\nG, 0, 0, 0, 0, 0, Q", 3, 0, 0,
                    "Play Current Line option is selected and current line is not a chord "
                    "definition."}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PlayEngine, AParseErrorStopsThePlayWithTheLineSelected) {
    SetText(QStringLiteral(
        "G, 0, 0, 0, 0, 0, Q\n* a\n\nC, x, 2, 0, 1, 2, Q\nbad, 1\nG, 0, 0, 0, 0, 0, Q"));
    session.PlayButtonPressed();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Line 5    Not enough commas.")});
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(view.lines().currentLine(), 4);
    EXPECT_EQ(view.lines().selectionLength(), 6);
    EXPECT_FALSE(view.stopShown);
}

TEST_F(PlayEngine, AllPlaysEachChordForItsLengthAtTheTempo) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* between\nC, x, 2, 0, 1, 2, H"));
    session.PlayButtonPressed();
    EXPECT_EQ(OnsetsOf(62), (std::vector<long>{0}));
    EXPECT_EQ(OnsetsOf(64), (std::vector<long>{500})) << "the comment takes no time";
    EXPECT_EQ(clock.Now(), milliseconds(1500));
    EXPECT_EQ(output.Count(RecordingOutput::Kind::Open), 1);
    EXPECT_EQ(output.Count(RecordingOutput::Kind::Close), 1);
    EXPECT_FALSE(output.IsOpen());
    // The patch goes out on the selected channel and on the note channel first.
    ASSERT_GE(Sent().size(), 2u);
    EXPECT_EQ(Sent()[0], 0x000069C0u);
    EXPECT_EQ(Sent()[1], 0x000069C1u);
}

TEST_F(PlayEngine, LoopRepeatsUntilStop) {
    SetText(QStringLiteral("* intro\nG, 0, 0, 0, 0, 0, Q"));
    Caret(1);
    Option(1);
    view.options.loop = true;
    clock.At(milliseconds(2250), [&] { session.PlayButtonPressed(); });
    session.PlayButtonPressed();
    EXPECT_EQ(OnsetsOf(62), (std::vector<long>{0, 500, 1000, 1500, 2000}));
    EXPECT_FALSE(view.stopShown);
    EXPECT_FALSE(session.StopRequested);
    // Every note that started was turned off.
    int on = 0, off = 0;
    for (std::uint32_t message : Sent()) {
        if ((message & 0xF0) == 0x90)
            ++on;
        if ((message & 0xF0) == 0x80)
            ++off;
    }
    EXPECT_EQ(on, off);
}

TEST_F(PlayEngine, StopHalfwayThroughAWholeNoteSendsTheNoteOffsAtOnce) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, W"));
    document.setTempo(60);
    clock.At(milliseconds(2000), [&] { session.PlayButtonPressed(); });
    session.PlayButtonPressed();
    const auto messages = output.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().time, milliseconds(2000));
    EXPECT_EQ(messages.back().message & 0xF0, 0x80u);
}

TEST_F(PlayEngine, DebugSelectsTheLineBeingPlayed) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q\n* end"));
    view.options.trace = true;
    session.PlayButtonPressed();
    EXPECT_EQ(view.lines().currentLine(), 1);
    EXPECT_EQ(view.lines().selectionLength(), 19);
}

TEST_F(PlayEngine, WithoutDebugTheSelectionStays) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q"));
    view.lines().setSelection(3, 4);
    session.PlayButtonPressed();
    EXPECT_EQ(view.lines().selectionStart(), 3);
    EXPECT_EQ(view.lines().selectionLength(), 4);
}

TEST_F(PlayEngine, CurrentLinePlaysOneChordAndPutsTheCaretBack) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, H"));
    view.lines().setSelection(25, 0);
    Option(3);
    session.PlayButtonPressed();
    EXPECT_EQ(OnsetsOf(64), (std::vector<long>{0}));
    EXPECT_EQ(clock.Now(), milliseconds(1000));
    EXPECT_EQ(view.lines().selectionStart(), 20) << "the caret goes to the line's start";
}

TEST_F(PlayEngine, HighlightedPlaysTheSelectedLines) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q\nD, 0, 0, 2, 3, 4, Q"));
    // From inside line 1 through the break after it.
    view.lines().setSelection(22, 18);
    Option(2);
    session.PlayButtonPressed();
    EXPECT_TRUE(OnsetsOf(67).empty()) << "G of line 0 is not played";
    EXPECT_EQ(OnsetsOf(64).size(), 1u);
    EXPECT_EQ(clock.Now(), milliseconds(500));
}

TEST_F(PlayEngine, TheTuningShiftsTheSoundingKeys) {
    SetText(QStringLiteral("G, 0, x, x, x, x, Q"));
    document.setTuning(65555);
    session.PlayButtonPressed();
    EXPECT_EQ(NoteOnKeys(), (std::vector<int>{68}));
}

TEST_F(PlayEngine, StepForwardPlaysAndMovesToTheNextChord) {
    SetText(QStringLiteral("* intro\nG, 0, 0, 0, 0, 0, Q\n\nC, x, 2, 0, 1, 2, Q"));
    Caret(0);
    session.StepForward();
    EXPECT_EQ(NoteOnKeys(), (std::vector<int>{62, 59, 55, 50, 67}));
    EXPECT_EQ(view.lines().currentLine(), 3);
    const std::size_t before = Sent().size();
    session.StepForward();
    EXPECT_EQ(NoteOnKeys(before), (std::vector<int>{64, 60, 55, 52}));
    EXPECT_EQ(view.lines().currentLine(), 3) << "the last chord stays highlighted";
    session.StepForward();
    EXPECT_TRUE(Messages().isEmpty()) << "pressing again plays it again";
}

TEST_F(PlayEngine, StepBackWithOnlyCommentsAboveSaysSo) {
    SetText(QStringLiteral("* a\n* b\nG, 0, 0, 0, 0, 0, Q"));
    Caret(1);
    session.StepBack();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Can't step back from this line")});
    Caret(2);
    session.StepBack();
    EXPECT_EQ(NoteOnKeys().size(), 5u);
}

// Onsets (ms) of the note-ons on the percussion channel, with their keys.
std::vector<std::pair<long, int>> Clicks(const RecordingOutput& output) {
    std::vector<std::pair<long, int>> clicks;
    for (const auto& event : output.Messages())
        if ((event.message & 0xFF) == 0x99 && ((event.message >> 16) & 0xFF) != 0)
            clicks.emplace_back(
                static_cast<long>(std::chrono::duration_cast<milliseconds>(event.time).count()),
                static_cast<int>((event.message >> 8) & 0xFF));
    return clicks;
}

TEST_F(PlayEngine, ATempoChangeInALoopHoldsFromTheNextChord) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    view.options.loop = true;
    // At 1250 ms the chord of 1000 sounds and the one of 1500 is not scheduled yet.
    clock.At(milliseconds(1250), [&] { document.setTempo(240); });
    clock.At(milliseconds(2100), [&] { session.PlayButtonPressed(); });
    session.PlayButtonPressed();
    EXPECT_EQ(OnsetsOf(62), (std::vector<long>{0, 500, 1000, 1500, 1750, 2000}));
    // The chord sounding at the change kept its length: its note-off is at 1500.
    bool offAt1500 = false;
    for (const auto& event : output.Messages())
        offAt1500 =
            offAt1500 || ((event.message & 0xF0) == 0x80 && event.time == milliseconds(1500));
    EXPECT_TRUE(offAt1500);
}

TEST_F(PlayEngine, CountInAndMetronomeClickOnTheBeatsOfTheSongsMeter) {
    SetText(QStringLiteral("* Time: 3/4\nG, 0, 0, 0, 0, 0, H\nC, x, 2, 0, 1, 2, Q"));
    view.options.practice.CountInMeasures = 1;
    view.options.practice.Metronome = true;
    session.PlayButtonPressed();
    // One measure of three beats at 500 ms, then the chords from 1500 ms with a click on each
    // beat; the first beat of each measure is accented (claves, 75), the others side stick.
    EXPECT_EQ(Clicks(output),
              (std::vector<std::pair<long, int>>{
                  {0, 75}, {500, 37}, {1000, 37}, {1500, 75}, {2000, 37}, {2500, 37}}));
    EXPECT_EQ(OnsetsOf(62), (std::vector<long>{1500}));
    EXPECT_EQ(OnsetsOf(64), (std::vector<long>{2500}));
    EXPECT_EQ(clock.Now(), milliseconds(3000));
}

TEST_F(PlayEngine, TheSpeedTrainerRaisesTheTempoEachPassAndLeavesTheTempoAsItWas) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    document.setTempo(100);
    view.options.loop = true;
    view.options.practice.Trainer = true;
    view.options.practice.TrainerStartPercent = 60;
    view.options.practice.TrainerStepPercent = 10;
    view.options.practice.TrainerTargetPercent = 90;
    // Quarter notes at 60, 70, 80, 90 and 90: 1000, 857, 750, 666 and 666 ms.
    clock.At(milliseconds(3500), [&] { session.PlayButtonPressed(); });
    session.PlayButtonPressed();
    EXPECT_EQ(OnsetsOf(62), (std::vector<long>{0, 1000, 1857, 2607, 3273}));
    EXPECT_EQ(view.trainerTempos, (std::vector<int>{60, 70, 80, 90, 0}))
        << "shown while it runs, hidden after Stop";
    EXPECT_EQ(document.tempo(), 100);
}

TEST_F(PlayEngine, StopClearsEveryScheduledEvent) {
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, W\nC, x, 2, 0, 1, 2, W"));
    view.options.practice.Metronome = true;
    clock.At(milliseconds(1250), [&] { session.PlayButtonPressed(); });
    session.PlayButtonPressed();
    const std::size_t sent = output.Messages().size();
    ASSERT_GT(sent, 0u);
    EXPECT_EQ(output.Messages().back().time, milliseconds(1250));
    // Nothing that was scheduled comes out later, however far the clock runs.
    clock.Advance(milliseconds(10000));
    EXPECT_EQ(output.Messages().size(), sent);
    int on = 0, off = 0;
    for (std::uint32_t message : Sent()) {
        on += (message & 0xF0) == 0x90 && ((message >> 16) & 0xFF) != 0;
        off +=
            (message & 0xF0) == 0x80 || ((message & 0xF0) == 0x90 && ((message >> 16) & 0xFF) == 0);
    }
    EXPECT_EQ(on, off) << "no hanging note, clicks included";
    EXPECT_TRUE(OnsetsOf(64).empty());
}

} // namespace
} // namespace fw::testing
