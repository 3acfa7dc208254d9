#include "sound_fixture.h"

#include "sound/recording_scheduler.h"
#include "sound/scheduled_play.h"

#include <gmock/gmock.h>

namespace fw::test {
namespace {

using namespace std::chrono_literals;
using testing::ElementsAre;
using testing::ElementsAreArray;

// A message as the tests read it: when, channel, kind, key.
struct Msg {
    long long ms;
    int channel;
    bool on;
    int key;
    bool operator==(const Msg&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Msg& m) {
    return os << (m.on ? "on " : "off ") << "ch" << m.channel << " " << m.key << " @" << m.ms;
}

struct ScheduledPlayTest : testing::Test, SoundFixture {
    RecordingScheduler scheduler{clock, device};

    void SetUp() override { ASSERT_EQ(port.OpenMidiPort(), ""); }

    static std::vector<ChordEntry> Lines(std::initializer_list<std::string_view> lines) {
        std::vector<ChordEntry> entries;
        for (std::string_view line : lines)
            entries.push_back(Chord(line));
        return entries;
    }

    // Plays on the virtual clock, pumping every 10 ms as a window timer would, until the
    // play ends or `limit` has passed.
    void Run(ScheduledPlay& play, PlayTime limit = 60s) {
        play.Start();
        while (!play.Finished() && clock.Now() < limit) {
            clock.Advance(10ms);
            play.Pump();
        }
    }

    std::vector<Msg> All() const {
        std::vector<Msg> all;
        for (const auto& e : device.Messages()) {
            const int kind = static_cast<int>(e.message & 0xF0);
            if (kind == 0x90 || kind == 0x80)
                all.push_back({Ms(e.time), static_cast<int>(e.message & 0x0F), kind == 0x90,
                               static_cast<int>((e.message >> 8) & 0xFF)});
        }
        return all;
    }
    // The percussion channel's note-ons.
    std::vector<Msg> Clicks() const {
        std::vector<Msg> clicks;
        for (const Msg& m : All())
            if (m.channel == ClickChannel && m.on)
                clicks.push_back(m);
        return clicks;
    }
    // When the chords start: the first note-on of the note channel at each new time.
    std::vector<long long> ChordStarts() const {
        std::vector<long long> starts;
        for (const Msg& m : All())
            if (m.channel == 1 && m.on && (starts.empty() || starts.back() != m.ms))
                starts.push_back(m.ms);
        return starts;
    }
};

// The scheduler plays exactly what the blocking chord player plays, message for message and
// millisecond for millisecond: struck strings in string order, hammer-on steps, rests.
TEST_F(ScheduledPlayTest, PlaysTheSameMessagesAtTheSameTimesAsTheChordPlayer) {
    const auto entries =
        Lines({"G, 0, 0, 0, 0, 0, Q", "* a comment", "", "Slide in , 0 , 2-4 , 0 , 0 , 0 , H",
               "Rest, x, x, x, x, x, E", "Quick, x, 3-5, x, x, 0, F", "C, x, 2, 0, 1, 2, .E"});
    ScheduledPlayOptions options;
    options.Last = static_cast<int>(entries.size()) - 1;
    options.TuningOffset = {0, 0, 0, 0, 0, 1};
    ScheduledPlay play(scheduler, port, entries, options);
    Run(play);

    SoundFixture blocking;
    ASSERT_EQ(blocking.port.OpenMidiPort(), "");
    blocking.state.TuningOffset = options.TuningOffset;
    PlayTime cursor{0};
    for (const ChordEntry& e : entries) {
        if (KindOf(e) == LineKind::Chord)
            cursor = blocking.player.PlayChordFrom(
                cursor, e.Note, e.HammerNote, DurationValue(e.Duration, WholeNoteMs(120)), true);
    }
    EXPECT_EQ(Notes(), blocking.Notes());
    EXPECT_EQ(Ms(play.ScheduledUntil()), Ms(cursor));
    EXPECT_TRUE(play.Finished());
}

TEST_F(ScheduledPlayTest, ATempoChangeInTheMiddleOfALoopHoldsFromTheNextChord) {
    ScheduledPlayOptions options;
    options.Last = 1;
    options.Loop = true;
    ScheduledPlay play(scheduler, port, Lines({"G, 0, 0, 0, 0, 0, Q", "C, x, 2, 0, 1, 2, Q"}),
                       options);
    // The second pass's first chord sounds from 1000 to 1500 ms; halfway through it the
    // tempo drops to 60, where a quarter lasts 1000 ms.
    clock.At(1250ms, [&] { play.SetTempo(60); });
    Run(play, 4000ms);
    play.Stop();
    EXPECT_THAT(ChordStarts(), ElementsAre(0, 500, 1000, 1500, 2500, 3500));
    // The chord sounding at the change keeps its length.
    const auto all = All();
    EXPECT_TRUE(std::count(all.begin(), all.end(), Msg{1500, 1, false, 62}));
    EXPECT_EQ(play.BaseTempo(), 60);
}

struct ClickCase {
    const char* name;
    BeatMeter meter;
    int countIn;
    std::vector<std::string_view> lines;
    std::vector<Msg> clicks; // percussion note-ons
    long long firstChordMs;
};

struct ClickTest : ScheduledPlayTest, testing::WithParamInterface<ClickCase> {};

TEST_P(ClickTest, CountInAndMetronomeClickExactlyOnTheBeats) {
    const ClickCase& c = GetParam();
    std::vector<ChordEntry> entries;
    for (std::string_view line : c.lines)
        entries.push_back(Chord(line));
    ScheduledPlayOptions options;
    options.Last = static_cast<int>(entries.size()) - 1;
    options.Meter = c.meter;
    options.Practice.CountInMeasures = c.countIn;
    options.Practice.Metronome = true;
    ScheduledPlay play(scheduler, port, entries, options);
    Run(play);
    EXPECT_THAT(Clicks(), ElementsAreArray(c.clicks));
    ASSERT_FALSE(ChordStarts().empty());
    EXPECT_EQ(ChordStarts().front(), c.firstChordMs);
    // Every click is let go again, on its own channel.
    const auto all = All();
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const Msg& m) { return m.channel == ClickChannel && !m.on; }),
              static_cast<long>(c.clicks.size()));
}

constexpr int A = AccentClickKey;
constexpr int B = ClickKey;
Msg Click(long long ms, int key) {
    return {ms, ClickChannel, true, key};
}

INSTANTIATE_TEST_SUITE_P(
    Meters, ClickTest,
    testing::Values(
        // 4/4 at 120: a beat is 500 ms. One measure of count-in, then a half and two quarters.
        ClickCase{"FourFourOneMeasure",
                  {4, 4},
                  1,
                  {"G, 0, 0, 0, 0, 0, H", "C, x, 2, 0, 1, 2, Q", "D, x, 3, 2, 0, 0, Q"},
                  {Click(0, A), Click(500, B), Click(1000, B), Click(1500, B), Click(2000, A),
                   Click(2500, B), Click(3000, B), Click(3500, B)},
                  2000},
        // 3/4: the accent every third beat; eighths between beats click only on the beat.
        ClickCase{"ThreeFourTwoMeasures",
                  {3, 4},
                  2,
                  {"G, 0, 0, 0, 0, 0, E", "G, 0, 0, 0, 0, 0, E", "C, x, 2, 0, 1, 2, H",
                   "D, x, 3, 2, 0, 0, Q"},
                  {Click(0, A), Click(500, B), Click(1000, B), Click(1500, A), Click(2000, B),
                   Click(2500, B), Click(3000, A), Click(3500, B), Click(4000, B), Click(4500, A)},
                  3000},
        // 6/8: a beat is an eighth (250 ms at 120); no count-in.
        ClickCase{"SixEightNoCountIn",
                  {6, 8},
                  0,
                  {"G, 0, 0, 0, 0, 0, .Q", "C, x, 2, 0, 1, 2, .Q", "D, x, 3, 2, 0, 0, E"},
                  {Click(0, A), Click(250, B), Click(500, B), Click(750, B), Click(1000, B),
                   Click(1250, B), Click(1500, A)},
                  0},
        // A dotted quarter starts off the beat: the click falls inside it, on the beat.
        ClickCase{"OffBeatChord",
                  {2, 4},
                  0,
                  {"G, 0, 0, 0, 0, 0, E", "C, x, 2, 0, 1, 2, .Q"},
                  {Click(0, A), Click(500, B)},
                  0}),
    [](const testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });

TEST_F(ScheduledPlayTest, TheSpeedTrainerRaisesTheTempoAfterEveryPassUpToItsTarget) {
    ScheduledPlayOptions options;
    options.Last = 0;
    options.Loop = true;
    options.Tempo = 200;
    options.Practice.Trainer = true;
    options.Practice.TrainerStartPercent = 60;
    options.Practice.TrainerStepPercent = 10;
    options.Practice.TrainerTargetPercent = 90;
    ScheduledPlay play(scheduler, port, Lines({"G, 0, 0, 0, 0, 0, Q"}), options);
    std::vector<int> tempos;
    play.Start();
    while (play.Pass() < 5) {
        const int pass = play.Pass();
        clock.Advance(1ms);
        play.Pump();
        if (play.Pass() != pass || tempos.empty())
            tempos.push_back(play.CurrentTempo());
    }
    play.Stop();
    // 60, 70, 80 and 90% of 200, then no higher: a quarter lasts 500, 428, 375, 333, 333 ms.
    EXPECT_THAT(tempos, ElementsAre(120, 140, 160, 180, 180, 180));
    std::vector<long long> starts = ChordStarts();
    ASSERT_GE(starts.size(), 5u);
    starts.resize(5);
    EXPECT_THAT(starts, ElementsAre(0, 500, 928, 1303, 1636));
    // Stop gives the tempo back: the base tempo never moved.
    EXPECT_EQ(play.BaseTempo(), 200);
}

TEST_F(ScheduledPlayTest, StopClearsEveryScheduledEventAndLeavesNoNoteSounding) {
    ScheduledPlayOptions options;
    options.Last = 1;
    options.Loop = true;
    options.Practice.Metronome = true;
    // A long lead puts several chords and clicks on the scheduler at once.
    ScheduledPlay play(scheduler, port,
                       Lines({"Slide in , 0 , 2-4 , 0 , 0 , 0 , W", "G, 0, 0, 0, 0, 0, Q"}),
                       options, 3000ms);
    play.Start();
    clock.Advance(20ms); // inside the hammer-on's first step
    EXPECT_GT(scheduler.Pending(), 10u);
    const std::size_t before = device.Messages().size();
    play.Stop();
    EXPECT_EQ(scheduler.Pending(), 0u);
    EXPECT_TRUE(play.Finished());
    // The sounding notes (four strings, the hammer's start fret, the click) are turned off at
    // once, and nothing else is ever sent.
    const auto all = All();
    std::vector<Msg> after(all.begin() + static_cast<long>(before), all.end());
    EXPECT_THAT(after,
                ElementsAre(Msg{20, 1, false, 52}, Msg{20, 1, false, 55}, Msg{20, 1, false, 59},
                            Msg{20, 1, false, 62}, Msg{20, 1, false, 67}, Msg{20, 9, false, A}));
    clock.Advance(10s);
    play.Pump();
    EXPECT_EQ(device.Messages().size(), all.size());
}

TEST_F(ScheduledPlayTest, AClosedPortKeepsTheTimeInSilence) {
    port.CloseMidiPort();
    ScheduledPlayOptions options;
    options.Last = 0;
    options.Practice.CountInMeasures = 1;
    ScheduledPlay play(scheduler, port, Lines({"G, 0, 0, 0, 0, 0, Q"}), options);
    Run(play);
    EXPECT_TRUE(device.Messages().empty());
    EXPECT_EQ(Ms(play.ScheduledUntil()), 2500);
}

TEST_F(ScheduledPlayTest, FollowsThePlayingLineAndSaysWhenItHasEnded) {
    ScheduledPlayOptions options;
    options.Last = 3;
    ScheduledPlay play(scheduler, port,
                       Lines({"G, 0, 0, 0, 0, 0, Q", "* comment", "C, x, 2, 0, 1, 2, Q", ""}),
                       options);
    bool ended = false;
    play.OnFinished = [&] { ended = true; };
    play.Start();
    EXPECT_EQ(play.PlayingLine(), 0);
    clock.Advance(499ms);
    play.Pump();
    EXPECT_EQ(play.PlayingLine(), 0);
    clock.Advance(1ms);
    play.Pump();
    EXPECT_EQ(play.PlayingLine(), 2);
    EXPECT_FALSE(play.Finished());
    clock.Advance(499ms);
    play.Pump(); // finds the end of the range within the lead
    EXPECT_FALSE(ended);
    clock.Advance(1ms);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(play.Finished());
    EXPECT_EQ(play.PlayingLine(), 2);
}

TEST_F(ScheduledPlayTest, ALoopOverLinesWithoutTimeEndsInsteadOfSpinning) {
    ScheduledPlayOptions options;
    options.Last = 1;
    options.Loop = true;
    ScheduledPlay play(scheduler, port, Lines({"* only", ""}), options);
    Run(play);
    EXPECT_TRUE(play.Finished());
    EXPECT_TRUE(device.Messages().empty());
}

struct TrainerCase {
    const char* name;
    int tempo, start, step, target, pass, expected;
};
struct TrainerTempoTest : testing::TestWithParam<TrainerCase> {};

TEST_P(TrainerTempoTest, Tempo) {
    const TrainerCase& c = GetParam();
    PracticeSettings practice;
    practice.Trainer = true;
    practice.TrainerStartPercent = c.start;
    practice.TrainerStepPercent = c.step;
    practice.TrainerTargetPercent = c.target;
    EXPECT_EQ(TrainerTempo(c.tempo, practice, c.pass), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrainerTempoTest,
    testing::Values(TrainerCase{"FirstPassAtStart", 100, 60, 5, 100, 0, 60},
                    TrainerCase{"ThirdPass", 100, 60, 5, 100, 2, 70},
                    TrainerCase{"StopsAtTarget", 100, 60, 5, 100, 50, 100},
                    TrainerCase{"RoundsToNearest", 117, 60, 5, 100, 1, 76},
                    TrainerCase{"TargetBelowStartHoldsStart", 100, 80, 5, 50, 3, 80},
                    TrainerCase{"NeverAbove500", 400, 100, 50, 200, 4, 500},
                    TrainerCase{"NeverBelow1", 1, 10, 0, 10, 0, 1},
                    TrainerCase{"ZeroStartCountsAsOne", 300, 0, 0, 100, 0, 3}),
    [](const testing::TestParamInfo<TrainerCase>& info) { return std::string(info.param.name); });

TEST(TrainerOff, KeepsTheTempo) {
    EXPECT_EQ(TrainerTempo(137, PracticeSettings{}, 9), 137);
}

} // namespace
} // namespace fw::test

namespace fw::test {
namespace {

// A song with a repeat and a tempo marker plays in its sounding order: the repeated chord
// twice, the marker tempo scaled by the tempo box (120 against a song tempo of 60 doubles it),
// and the metronome's accent after the pickup.
TEST_F(ScheduledPlayTest, FollowsTheSongsStructure) {
    std::vector<ChordEntry> entries;
    for (std::string_view line :
         {"* Time: 2/4", "* Pickup: 1/4", "P, 0, 0, 0, 0, 0, Q", "* Repeat: start",
          "A, 0, 0, 0, 0, 0, Q", "* Repeat: end", "* Tempo: 30", "B, 0, 0, 0, 0, 0, Q"})
        entries.push_back(ParseChordText(line, 0).entry);
    const SongStructure structure = SongStructure::OfEntries(entries);
    ScheduledPlayOptions options;
    options.Last = static_cast<int>(entries.size()) - 1;
    options.Tempo = 120;
    options.SongTempo = 60;
    options.Spans = SoundingOrder(structure, entries.size());
    options.Meter = structure.firstMeter();
    options.PickupTicks = structure.pickupTicks(WholeNoteTicks);
    options.Practice.Metronome = true;
    ScheduledPlay play(scheduler, port, entries, options);
    Run(play);
    // P, A, A at 120; B at 30 * 120 / 60 = 60 (a quarter is 1000 ms).
    EXPECT_THAT(ChordStarts(), ElementsAre(0, 500, 1000, 1500));
    EXPECT_EQ(Ms(play.ScheduledUntil()), 2500);
    // Beats at 0, 500, 1000, 1500; the accent (velocity aside) lands on the second beat, the
    // first one after the pickup: every other beat from there.
    std::vector<long long> accents;
    for (const Msg& m : Clicks())
        if (m.key == static_cast<int>((ClickOnMessage(true) >> 8) & 0xFF))
            accents.push_back(m.ms);
    EXPECT_THAT(accents, ElementsAre(500, 1500));
}

} // namespace
} // namespace fw::test
