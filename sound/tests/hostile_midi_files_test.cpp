// The MIDI player window's file reader over every kind of hostile path: a folder, a named
// pipe, a socket and a file over the limit are refused at once with a message saying what
// they are (a pipe is never waited on), binary garbage is "Not a MIDI file", and whatever was
// loaded before stays loaded.

#include "sound/fluid_file_playback.h"
#include "sound/fluid_support.h"

#include "export/midi_file_writer.h"
#include "export/tests/midi_test_support.h"
#include "export/tests/temp_folder.h"
#include "tests/support/hostile_file_kinds.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

class HostileMidiFiles : public testing::TestWithParam<int> {};

TEST_P(HostileMidiFiles, AreRefusedAtOnceAndKeepTheLoadedFile) {
    const hostile::FileKind& kind = hostile::Kinds[GetParam()];
    LoadedSynth loaded = MakeLoadedSynth("", 44100);
    ASSERT_EQ(loaded.error, "");
    FluidFilePlayback playback(loaded.synth.get());
    test::TempFolder folder;
    const MidiBytes good =
        BuildMidiFile(test::Song({"G, 0, 0, 0, 0, 0, Q"}), 120, 105, test::NoOffsets);
    ASSERT_EQ(hostile::WriteBytes(folder / "good.mid", std::string(good.begin(), good.end())), "");
    ASSERT_EQ(playback.Load(QString::fromStdString(folder / "good.mid")), "");
    const long long lengthMs = playback.Position().lengthMs;

    const std::filesystem::path path = folder / "hostile.mid";
    ASSERT_EQ(kind.make(path), "");
    const QString qPath = QString::fromStdString(path.string());
    std::string expected = hostile::Refusal(kind, path);
    // The reader's limit is the MIDI player's own, not the editor's.
    if (std::string_view(kind.name) == "OverTheLimit")
        expected = "Opening \"" + path.string() +
                   "\" failed: it is 200,000,001 bytes; the MIDI player holds at most "
                   "200,000,000 bytes.";
    if (expected.empty())
        expected = "Not a MIDI file: " + path.string();
    EXPECT_EQ(playback.Load(qPath).toStdString(), expected);
    EXPECT_TRUE(playback.HasFile());
    EXPECT_EQ(playback.Position().lengthMs, lengthMs);
}

INSTANTIATE_TEST_SUITE_P(Table, HostileMidiFiles, testing::Range(0, hostile::KindCount),
                         [](const auto& info) {
                             return std::string(hostile::Kinds[info.param].name);
                         });

} // namespace
} // namespace fw
