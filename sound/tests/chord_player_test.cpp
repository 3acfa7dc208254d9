#include "sound_fixture.h"

#include <gmock/gmock.h>

namespace fw::test {
namespace {

using testing::ElementsAre;
using namespace std::chrono_literals;

std::vector<Note> On(long long ms, std::initializer_list<int> keys) {
    std::vector<Note> notes;
    for (int k : keys)
        notes.push_back({ms, true, k});
    return notes;
}

std::vector<Note> Off(long long ms, std::initializer_list<int> keys) {
    std::vector<Note> notes;
    for (int k : keys)
        notes.push_back({ms, false, k});
    return notes;
}

std::vector<Note> Join(std::initializer_list<std::vector<Note>> parts) {
    std::vector<Note> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::vector<long long> WaitLengths(const VirtualPlayClock& clock) {
    std::vector<long long> lengths;
    for (const auto& w : clock.Waits())
        lengths.push_back(Ms(w.end - w.from));
    return lengths;
}

struct PlayerTest : testing::Test, SoundFixture {
    void SetUp() override { ASSERT_EQ(port.OpenMidiPort(), ""); }

    void Play(std::string_view line, int durationMs, bool pump = true) {
        const ChordEntry e = Chord(line);
        player.PlayChord(e.Note, e.HammerNote, durationMs, pump);
    }
    void PlayAtTempo(std::string_view line, bool pump = true) {
        const ChordEntry e = Chord(line);
        Play(line, DurationValue(e.Duration, WholeNoteMs(state.Tempo)), pump);
    }
};

TEST_F(PlayerTest, OpenGChordStrikesStringOneFirstAndHoldsAQuarterNote) {
    PlayAtTempo("G, 0, 0, 0, 0, 0, Q");
    EXPECT_EQ(Notes(), Join({On(0, {62, 59, 55, 50, 67}), Off(500, {62, 59, 55, 50, 67})}));
    EXPECT_THAT(WaitLengths(clock), ElementsAre(500));
    EXPECT_TRUE(clock.Waits()[0].pumped);
}

TEST_F(PlayerTest, NotesGoOutOnTheNoteChannelWithFullVelocity) {
    PlayAtTempo("G, 0, x, x, x, x, Q");
    EXPECT_THAT(Packed(), ElementsAre(0x007F4391u, 0x00004381u));
}

TEST_F(PlayerTest, RestSendsNothingButTakesItsTime) {
    PlayAtTempo("Rest, x, x, x, x, x, Q");
    EXPECT_TRUE(device.Messages().empty());
    EXPECT_EQ(Ms(clock.Now()), 500);
}

TEST_F(PlayerTest, HammerOnPlaysGraceNotesThenHoldsTheOtherStrings) {
    PlayAtTempo("Slide in , 0 , 2-4 , 0 , 0 , 0 , H");
    EXPECT_EQ(Notes(), Join({On(0, {62, 59, 55, 67, 52}), Off(31, {52}), On(62, {54}),
                             Off(93, {54}), Off(1000, {62, 59, 55, 67})}));
    EXPECT_THAT(WaitLengths(clock), ElementsAre(31, 31, 31, 907));
}

// Ringing: the target follows the strike after one step and rings with the other strings; a
// short chord lasts its two steps.
TEST_F(PlayerTest, RingingHammerOnHoldsItsTargetToTheChordsEnd) {
    state.HammerOns = HammerOnSound::Ring;
    PlayAtTempo("Slide in , 0 , 2-4 , 0 , 0 , 0 , H");
    EXPECT_EQ(Notes(), Join({On(0, {62, 59, 55, 67, 52}), Off(31, {52}), On(31, {54}),
                             Off(1000, {54}), Off(1000, {62, 59, 55, 67})}));
    EXPECT_THAT(WaitLengths(clock), ElementsAre(31, 969));
    PlayAtTempo("F, x, x, 0-2, x, x, F");
    EXPECT_EQ(Ms(clock.Now()), 1000 + 62);
}

TEST_F(PlayerTest, HammerOnPreviewLasts250) {
    const ChordEntry e = Chord("Slide in , 0 , 2-4 , 0 , 0 , 0 , H");
    PreviewChord(port, player, e.Note, e.HammerNote);
    EXPECT_THAT(WaitLengths(clock), ElementsAre(31, 31, 31, 157));
    EXPECT_EQ(Notes().back(), (Note{250, false, 67}));
    for (const auto& w : clock.Waits())
        EXPECT_FALSE(w.pumped);
}

TEST_F(PlayerTest, ShortHammerChordLastsThreeStepsWithoutAFinalWait) {
    PlayAtTempo("F, 0, 2-4, 0, 0, 0, F");
    EXPECT_THAT(WaitLengths(clock), ElementsAre(31, 31, 31));
    EXPECT_EQ(Notes(), Join({On(0, {62, 59, 55, 67, 52}), Off(31, {52}), On(62, {54}),
                             Off(93, {54}), Off(93, {62, 59, 55, 67})}));
}

TEST_F(PlayerTest, HammerPreviewAtTempoOneFollowsTheTempo) {
    state.Tempo = 1;
    const ChordEntry e = Chord("Slide in , 0 , 2-4 , 0 , 0 , 0 , H");
    PreviewChord(port, player, e.Note, e.HammerNote);
    EXPECT_EQ(Ms(clock.Now()), 3 * 3750);
    EXPECT_THAT(WaitLengths(clock), ElementsAre(3750, 3750, 3750));
}

TEST_F(PlayerTest, HammerNoteOnAnUnplayedStringStillTimesTheChordAsAHammerChord) {
    NoteArray notes = AllNoNotes();
    NoteArray hammer = AllNoNotes();
    notes[1] = 62;
    hammer[3] = 57; // string 3 is not played
    player.PlayChord(notes, hammer, 500, true);
    EXPECT_EQ(Notes(), Join({On(0, {62}), Off(500, {62})}));
    EXPECT_THAT(WaitLengths(clock), ElementsAre(31, 31, 31, 407));
}

TEST_F(PlayerTest, SeveralHammerStringsMoveTogether) {
    PlayAtTempo("Two, 0, 2-4, 0, 0-2, 0, Q");
    EXPECT_EQ(Notes(), Join({On(0, {62, 55, 67, 59, 52}), Off(31, {59, 52}), On(62, {61, 54}),
                             Off(93, {61, 54}), Off(500, {62, 55, 67})}));
}

TEST_F(PlayerTest, TuningRaisesTheFifthString) {
    state.TuningOffset = {0, 0, 0, 0, 0, 1}; // TuningCode 65555
    PlayAtTempo("G, 0, x, x, x, x, Q");
    EXPECT_EQ(Notes(), Join({On(0, {68}), Off(500, {68})}));
}

TEST_F(PlayerTest, TuningAppliesToHammerTargetsAndOctaveOnTop) {
    state.TuningOffset = {0, 0, 0, 0, -2, 0}; // string 4 two semitones down
    settings.Octave = 12;
    PlayAtTempo("Ham, x, 2-4, x, x, x, Q");
    // String 4 (D 50): 52 and 54 reference, -2 tuning, +12 octave.
    EXPECT_EQ(Notes(), Join({On(0, {62}), Off(31, {62}), On(62, {64}), Off(93, {64})}));
}

TEST_F(PlayerTest, StopHalfwayThroughAWholeNoteEndsTheChordAtOnce) {
    state.Tempo = 60;
    clock.At(2000ms, [&] { state.StopRequested = true; });
    PlayAtTempo("G, 0, 0, 0, 0, 0, W");
    EXPECT_EQ(Notes(), Join({On(0, {62, 59, 55, 50, 67}), Off(2000, {62, 59, 55, 50, 67})}));
}

TEST_F(PlayerTest, StopDuringAHammerStepEndsTheLaterStepsAtOnceAndSendsEveryNoteOff) {
    clock.At(10ms, [&] { state.StopRequested = true; });
    PlayAtTempo("Slide in , 0 , 2-4 , 0 , 0 , 0 , H");
    EXPECT_EQ(Notes(), Join({On(0, {62, 59, 55, 67, 52}), Off(10, {52}), On(10, {54}),
                             Off(10, {54}), Off(10, {62, 59, 55, 67})}));
    EXPECT_THAT(WaitLengths(clock), ElementsAre(10, 0, 0, 0));
}

TEST_F(PlayerTest, ZeroLengthWaitsReturnWithoutRunningEvents) {
    player.WaitMs(0, true);
    player.WaitMs(-5, true);
    EXPECT_TRUE(clock.Waits().empty());
    player.WaitMs(20, false);
    EXPECT_THAT(WaitLengths(clock), ElementsAre(20));
    EXPECT_FALSE(clock.Waits()[0].pumped);
}

// --- Scheduling against deadlines --------------------------------------------------------------

TEST_F(PlayerTest, ChainedChordsDoNotDriftWhenTimeIsLostBetweenThem) {
    const ChordEntry e = Chord("G, 0, 0, 0, 0, 0, T");
    PlayTime end = player.Now();
    for (int i = 0; i < 1000; ++i) {
        clock.Advance(1ms); // showing the chord, tracing the line
        end = player.PlayChordFrom(end, e.Note, e.HammerNote, 62, true);
    }
    EXPECT_EQ(Ms(end), 62000);
    EXPECT_EQ(Ms(clock.Now()), 62000);
    // Each chord sounds 1 ms after its scheduled start and the lost time never adds up.
    const std::vector<Note> notes = Notes();
    ASSERT_EQ(notes.size(), 10000u);
    for (std::size_t chord = 0; chord < 1000; ++chord) {
        EXPECT_EQ(notes[chord * 10].ms, static_cast<long long>(chord) * 62 + 1);
        EXPECT_EQ(notes[chord * 10 + 5].ms, static_cast<long long>(chord + 1) * 62);
    }
}

TEST_F(PlayerTest, ChainedHammerChordsKeepTheirSchedule) {
    const ChordEntry e = Chord("Slide in , 0 , 2-4 , 0 , 0 , 0 , E");
    PlayTime end = player.Now();
    for (int i = 0; i < 10; ++i)
        end = player.PlayChordFrom(end, e.Note, e.HammerNote, 250, true);
    EXPECT_EQ(Ms(end), 2500);
}

TEST_F(PlayerTest, AChordHeldUpTooLongStartsAnewInsteadOfRushing) {
    const ChordEntry e = Chord("G, 0, 0, 0, 0, 0, Q");
    PlayTime end = player.PlayChordFrom(player.Now(), e.Note, e.HammerNote, 500, true);
    clock.Advance(200ms); // a stall longer than the catch-up allowance
    end = player.PlayChordFrom(end, e.Note, e.HammerNote, 500, true);
    EXPECT_EQ(Ms(end), 1200);
    EXPECT_THAT(WaitLengths(clock), ElementsAre(500, 500));
}

TEST_F(PlayerTest, ASmallDelayIsCaughtUpWithinTheNextChord) {
    const ChordEntry e = Chord("G, 0, 0, 0, 0, 0, Q");
    PlayTime end = player.PlayChordFrom(player.Now(), e.Note, e.HammerNote, 500, true);
    clock.Advance(30ms);
    end = player.PlayChordFrom(end, e.Note, e.HammerNote, 500, true);
    EXPECT_EQ(Ms(end), 1000);
    EXPECT_THAT(WaitLengths(clock), ElementsAre(500, 470));
}

TEST_F(PlayerTest, AStartInTheFutureCountsAsNow) {
    const ChordEntry e = Chord("G, 0, 0, 0, 0, 0, Q");
    const PlayTime end = player.PlayChordFrom(player.Now() + 1s, e.Note, e.HammerNote, 500, true);
    EXPECT_EQ(Ms(end), 500);
    EXPECT_THAT(WaitLengths(clock), ElementsAre(500));
}

TEST_F(PlayerTest, AStoppedChordReportsWhenItEnded) {
    clock.At(100ms, [&] { state.StopRequested = true; });
    const ChordEntry e = Chord("G, 0, 0, 0, 0, 0, Q");
    const PlayTime end = player.PlayChordFrom(player.Now(), e.Note, e.HammerNote, 500, true);
    EXPECT_EQ(Ms(end), 100);
}

} // namespace
} // namespace fw::test
