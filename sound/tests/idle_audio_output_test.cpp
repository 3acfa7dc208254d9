// The audio output closed at rest: closed once nothing has sounded for the idle stretch, kept
// while something sounds, opened again by the next sounding.

#include "sound/idle_audio_output.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace fw {
namespace {

using namespace std::chrono_literals;

struct FakeOutput {
    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<bool> busy{false};
    std::atomic<bool> opensFine{true};

    IdleAudioOutput Make(std::chrono::milliseconds idleAfter) {
        return IdleAudioOutput([this] { return ++opens, opensFine.load(); },
                               [this] { ++closes; }, [this] { return busy.load(); }, idleAfter);
    }
};

// Waits, with a bound far above any stretch used here, for the output to close.
bool ClosesWithin(const IdleAudioOutput& output, std::chrono::seconds bound = 10s) {
    const auto until = std::chrono::steady_clock::now() + bound;
    while (output.IsOpen() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(2ms);
    return !output.IsOpen();
}

TEST(IdleAudioOutput, ClosesAfterTheIdleStretchAndOpensAgainOnTheNextSound) {
    FakeOutput fake;
    IdleAudioOutput output = fake.Make(20ms);
    EXPECT_TRUE(output.IsOpen());
    ASSERT_TRUE(ClosesWithin(output));
    EXPECT_EQ(fake.closes, 1);
    EXPECT_EQ(output.IdleCloses(), 1);
    EXPECT_TRUE(output.Wake());
    EXPECT_EQ(fake.opens, 1);
    EXPECT_TRUE(output.IsOpen());
    EXPECT_TRUE(output.Wake()); // already open: not opened twice
    EXPECT_EQ(fake.opens, 1);
    ASSERT_TRUE(ClosesWithin(output));
    EXPECT_EQ(fake.closes, 2);
}

TEST(IdleAudioOutput, StaysOpenWhileSomethingSounds) {
    FakeOutput fake;
    fake.busy = true;
    IdleAudioOutput output = fake.Make(5ms);
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(output.IsOpen());
    EXPECT_EQ(fake.closes, 0);
    fake.busy = false;
    EXPECT_TRUE(ClosesWithin(output));
}

TEST(IdleAudioOutput, AnOutputThatWillNotOpenIsTriedAgainAtTheNextSound) {
    FakeOutput fake;
    IdleAudioOutput output = fake.Make(1ms);
    ASSERT_TRUE(ClosesWithin(output));
    fake.opensFine = false;
    EXPECT_FALSE(output.Wake());
    EXPECT_FALSE(output.IsOpen());
    fake.opensFine = true;
    EXPECT_TRUE(output.Wake());
    EXPECT_EQ(fake.opens, 2);
}

} // namespace
} // namespace fw
