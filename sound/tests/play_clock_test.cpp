#include "sound/qt_event_pump.h"
#include "sound/steady_play_clock.h"
#include "sound/virtual_play_clock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

namespace fw {
namespace {

using namespace std::chrono_literals;
using testing::ElementsAre;

// --- Virtual clock -----------------------------------------------------------------------------

TEST(VirtualPlayClock, AWaitMovesTheClockToItsDeadline) {
    VirtualPlayClock clock;
    clock.WaitUntil(250ms, false, [] { return false; });
    EXPECT_EQ(clock.Now(), 250ms);
    clock.WaitUntil(100ms, true, [] { return false; }); // already passed
    EXPECT_EQ(clock.Now(), 250ms);
    ASSERT_EQ(clock.Waits().size(), 2u);
    EXPECT_EQ(clock.Waits()[1].end, 250ms);
    EXPECT_TRUE(clock.Waits()[1].pumped);
}

TEST(VirtualPlayClock, ActionsRunInTimeOrderDuringTheWaitThatPassesThem) {
    VirtualPlayClock clock;
    std::vector<long long> seen;
    const auto note = [&] { seen.push_back(clock.Now().count() / 1000); };
    clock.At(300ms, note);
    clock.At(100ms, note);
    clock.At(100ms, [&] { seen.push_back(-1); }); // same time: after the first one added
    clock.WaitUntil(200ms, true, [] { return false; });
    EXPECT_THAT(seen, ElementsAre(100, -1));
    clock.WaitUntil(400ms, true, [] { return false; });
    EXPECT_THAT(seen, ElementsAre(100, -1, 300));
}

TEST(VirtualPlayClock, AWaitEndsWhenAnActionSetsTheStopFlag) {
    VirtualPlayClock clock;
    bool stop = false;
    clock.At(120ms, [&] { stop = true; });
    clock.At(150ms, [] { FAIL() << "runs after the wait ended"; });
    clock.WaitUntil(500ms, true, [&] { return stop; });
    EXPECT_EQ(clock.Now(), 120ms);
}

TEST(VirtualPlayClock, AWaitWithTheFlagAlreadySetEndsAtOnce) {
    VirtualPlayClock clock(10ms);
    clock.WaitUntil(500ms, true, [] { return true; });
    EXPECT_EQ(clock.Now(), 10ms);
}

TEST(VirtualPlayClock, AdvanceRunsDueActions) {
    VirtualPlayClock clock;
    int runs = 0;
    clock.At(5ms, [&] { ++runs; });
    clock.Advance(4ms);
    EXPECT_EQ(runs, 0);
    clock.Advance(1ms);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(clock.Now(), 5ms);
    EXPECT_TRUE(clock.Waits().empty());
}

TEST(VirtualPlayClock, AnOverdueActionRunsBeforeTheFlagIsRead) {
    VirtualPlayClock clock;
    bool stop = false;
    clock.Advance(50ms);
    clock.At(20ms, [&] { stop = true; });
    clock.WaitUntil(100ms, true, [&] { return stop; });
    EXPECT_EQ(clock.Now(), 50ms);
}

// --- Steady clock ------------------------------------------------------------------------------
// These check what the waits do, never how fast: the clock only has to move forward.

TEST(SteadyPlayClock, AnUnpumpedWaitReachesItsDeadline) {
    SteadyPlayClock clock;
    const PlayTime deadline = clock.Now() + 3ms;
    clock.WaitUntil(deadline, false, [] { return false; });
    EXPECT_GE(clock.Now(), deadline);
}

TEST(SteadyPlayClock, APumpedWaitGivesThePumpTheTimeBeforeTheMargin) {
    std::vector<PlayTime> untils;
    SteadyPlayClock clock([&](PlayTime until, const StopCheck&) { untils.push_back(until); });
    const PlayTime deadline = clock.Now() + 50ms;
    clock.WaitUntil(deadline, true, [] { return false; });
    EXPECT_THAT(untils, ElementsAre(deadline - SteadyPlayClock::PumpMargin));
    EXPECT_GE(clock.Now(), deadline);
}

TEST(SteadyPlayClock, AnUnpumpedWaitNeverRunsThePump) {
    int pumps = 0;
    SteadyPlayClock clock([&](PlayTime, const StopCheck&) { ++pumps; });
    clock.WaitUntil(clock.Now() + 1ms, false, [] { return false; });
    EXPECT_EQ(pumps, 0);
}

TEST(SteadyPlayClock, AStopSeenByThePumpEndsTheWaitLongBeforeItsDeadline) {
    bool stop = false;
    SteadyPlayClock clock([&](PlayTime, const StopCheck&) { stop = true; });
    const PlayTime deadline = clock.Now() + 3600s;
    clock.WaitUntil(deadline, true, [&] { return stop; });
    EXPECT_LT(clock.Now(), deadline);
}

// --- Qt event pump -----------------------------------------------------------------------------

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "fretwick_sound_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

TEST(QtEventPump, RunsTimersDuringAPumpedWait) {
    App();
    SteadyPlayClock clock(QtEventPump());
    bool fired = false;
    QTimer::singleShot(1, [&] { fired = true; });
    clock.WaitUntil(clock.Now() + 30ms, true, [] { return false; });
    EXPECT_TRUE(fired);
}

TEST(QtEventPump, AnEventThatSetsTheStopFlagEndsAnHourLongWait) {
    App();
    SteadyPlayClock clock(QtEventPump());
    bool stop = false;
    QTimer::singleShot(5, [&] { stop = true; });
    const PlayTime deadline = clock.Now() + 3600s;
    clock.WaitUntil(deadline, true, [&] { return stop; });
    EXPECT_TRUE(stop);
    EXPECT_LT(clock.Now(), deadline);
}

TEST(QtEventPump, PendingEventsRunEvenWhenNoTimeIsLeft) {
    App();
    SteadyPlayClock clock(QtEventPump());
    bool posted = false;
    QTimer::singleShot(0, [&] { posted = true; });
    clock.WaitUntil(clock.Now() + 1ms, true, [] { return false; });
    EXPECT_TRUE(posted);
}

TEST(QtEventPump, AnUnpumpedWaitRunsNoEvents) {
    App();
    SteadyPlayClock clock(QtEventPump());
    bool posted = false;
    QTimer::singleShot(0, [&] { posted = true; });
    clock.WaitUntil(clock.Now() + 2ms, false, [] { return false; });
    EXPECT_FALSE(posted);
    QCoreApplication::processEvents();
    EXPECT_TRUE(posted);
}

} // namespace
} // namespace fw
