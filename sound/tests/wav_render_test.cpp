#include "sound/soundfont.h"
#include "sound/wav_file.h"
#include "sound/wav_render.h"

#include "chords/chord_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

namespace fw {
namespace {

std::uint32_t Read32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t Read16(const std::string& s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                      static_cast<unsigned char>(s[at + 1]) << 8);
}

// --- WAV files ---------------------------------------------------------------------------------

TEST(WavHeader, DescribesSixteenBitStereoPcm) {
    const auto h = WavHeader(44100, 2, 1000);
    const std::string s(h.begin(), h.end());
    EXPECT_EQ(s.substr(0, 4), "RIFF");
    EXPECT_EQ(Read32(s, 4), 1036u);
    EXPECT_EQ(s.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Read32(s, 16), 16u);
    EXPECT_EQ(Read16(s, 20), 1);
    EXPECT_EQ(Read16(s, 22), 2);
    EXPECT_EQ(Read32(s, 24), 44100u);
    EXPECT_EQ(Read32(s, 28), 176400u);
    EXPECT_EQ(Read16(s, 32), 4);
    EXPECT_EQ(Read16(s, 34), 16);
    EXPECT_EQ(s.substr(36, 4), "data");
    EXPECT_EQ(Read32(s, 40), 1000u);
}

TEST(WavWriter, WritesSamplesLittleEndianAndTheFinalSizes) {
    std::ostringstream out;
    out << "xx"; // the file need not start at the beginning of the stream
    WavWriter wav(out, 8000, 1);
    const std::int16_t samples[] = {1, -2, 0x1234};
    ASSERT_TRUE(wav.Write(samples, 3));
    ASSERT_TRUE(wav.Finish());
    const std::string s = out.str().substr(2);
    ASSERT_EQ(s.size(), WavHeaderSize + 6);
    EXPECT_EQ(Read32(s, 4), 36u + 6u);
    EXPECT_EQ(Read32(s, 40), 6u);
    EXPECT_EQ(s.substr(44), std::string("\x01\x00\xFE\xFF\x34\x12", 6));
}

// A stream that cannot seek, as a pipe.
class PipeBuf : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

TEST(WavWriter, RefusesAStreamThatCannotSeek) {
    PipeBuf buf;
    std::ostream out(&buf);
    WavWriter wav(out, 44100, 2);
    const std::int16_t samples[] = {0, 0};
    EXPECT_FALSE(wav.Write(samples, 2));
    EXPECT_FALSE(wav.Finish());
}

// --- Rendering ---------------------------------------------------------------------------------

ChordEntry Entry(std::string_view line) {
    ParsedLine parsed = ParseChordText(line, 0);
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    return parsed.entry;
}

TEST(RenderChordsToWav, ABrokenSoundFontIsReported) {
    const auto path = std::filesystem::temp_directory_path() / "fretwick_broken_soundfont.sf2";
    std::ofstream(path, std::ios::binary) << std::string("RIFF\x04\0\0\0sfbk", 12);
    RenderSettings settings;
    settings.SoundFont = path.string();
    std::ostringstream out;
    EXPECT_EQ(RenderChordsToWav({Entry("G, 0, 0, 0, 0, 0, Q")}, settings, out),
              "The soundfont could not be loaded: " + path.string());
    EXPECT_TRUE(out.str().empty());
    std::filesystem::remove(path);
}

// A song longer than a WAV file can hold (its sizes are 32-bit: 6 hours 45 minutes of 44.1 kHz
// 16-bit stereo) is refused at once, before a soundfont is loaded or a sample rendered, instead
// of rendering for hours into memory. At tempo 120 a whole note lasts 2 seconds; the tail adds
// 0.3 seconds.
struct WavLengthCase {
    const char* name;
    int wholeNotes;
    int tempo;
    const char* refusal; // "" when the song fits
};

void PrintTo(const WavLengthCase& c, std::ostream* os) {
    *os << c.name;
}

class WavLength : public testing::TestWithParam<WavLengthCase> {};

TEST_P(WavLength, ASongTooLongForTheFormatIsRefusedBeforeRendering) {
    const WavLengthCase& c = GetParam();
    const std::vector<ChordEntry> song(static_cast<std::size_t>(c.wholeNotes),
                                       Entry("G, 0, 0, 0, 0, 0, W"));
    long long chordsMs = 0;
    for (const ChordEntry& entry : song)
        chordsMs += SoundingMs(entry, c.tempo);
    EXPECT_EQ(TooLongForWav(chordsMs), c.refusal);
    if (!*c.refusal)
        return;
    RenderSettings settings;
    settings.Tempo = c.tempo;
    settings.SoundFont = "/nonexistent/never-loaded.sf2";
    std::ostringstream out;
    EXPECT_EQ(RenderChordsToWav(song, settings, out), c.refusal);
    EXPECT_TRUE(out.str().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, WavLength,
    testing::Values(
        // 12,173 whole notes: 24,346.3 s, within the 24,347 s a WAV file holds.
        WavLengthCase{"JustFits", 12'173, 120, ""},
        WavLengthCase{"OneWholeNoteTooMany", 12'174, 120,
                      "The song is too long for a WAV file: it lasts 6:45:48, and a WAV file "
                      "holds at most 6:45:47."},
        // Five million whole notes at tempo 60 (4 seconds each): 20,000,000.3 seconds.
        WavLengthCase{"FiveMillionNotes", 5'000'000, 60,
                      "The song is too long for a WAV file: it lasts 5555:33:20, and a WAV file "
                      "holds at most 6:45:47."}),
    [](const auto& info) { return std::string(info.param.name); });

class RenderedSound : public testing::Test {
protected:
    void SetUp() override {
        // The soundfont is a required package (fluid-soundfont-gm): without it the tests fail.
        ASSERT_FALSE(FindSoundFont("").empty()) << "no General MIDI soundfont installed";
    }

    // Renders and returns the left channel as doubles in -1..1, checking the file format.
    std::vector<double> Render(const std::vector<ChordEntry>& entries,
                               RenderSettings settings = {}) {
        std::ostringstream out;
        EXPECT_EQ(RenderChordsToWav(entries, settings, out), "");
        const std::string s = out.str();
        EXPECT_GE(s.size(), WavHeaderSize);
        if (s.size() < WavHeaderSize)
            return {};
        EXPECT_EQ(Read32(s, 24), 44100u);
        EXPECT_EQ(Read16(s, 22), 2);
        EXPECT_EQ(Read32(s, 40), s.size() - WavHeaderSize);
        std::vector<double> left;
        for (std::size_t at = WavHeaderSize; at + 4 <= s.size(); at += 4)
            left.push_back(static_cast<std::int16_t>(Read16(s, at)) / 32768.0);
        return left;
    }
};

// Energy of `samples` at `hz` (Goertzel over a Hann window).
double EnergyAt(const std::vector<double>& samples, double hz) {
    const double w = 2 * std::numbers::pi * hz / RenderSampleRate;
    const double coeff = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    const std::size_t n = samples.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (n - 1));
        const double s0 = samples[i] * hann + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - coeff * s1 * s2;
}

double KeyHz(double key) {
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

// Root mean square of the samples from `fromMs` to `toMs`.
double Rms(const std::vector<double>& samples, int fromMs, int toMs) {
    const auto from = static_cast<std::size_t>(RenderSampleRate * fromMs / 1000);
    const auto to =
        std::min(samples.size(), static_cast<std::size_t>(RenderSampleRate * toMs / 1000));
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += samples[i] * samples[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

TEST_F(RenderedSound, AQuarterNoteGChordSoundsItsFivePitchesForItsLength) {
    const std::vector<double> left = Render({Entry("G, 0, 0, 0, 0, 0, Q")});
    ASSERT_FALSE(left.empty());
    // 500 ms of chord and the release tail.
    EXPECT_EQ(left.size(),
              static_cast<std::size_t>(RenderSampleRate * (500 + RenderTailMs) / 1000));
    const double peak = std::abs(*std::max_element(
        left.begin(), left.end(), [](double a, double b) { return std::abs(a) < std::abs(b); }));
    EXPECT_GT(peak, 0.05) << "silent";
    // The release tail fades out to silence.
    EXPECT_LT(Rms(left, 750, 800), Rms(left, 500, 550) / 4);
    EXPECT_LT(std::abs(left.back()), 1e-3);

    // The sustained part of the chord: across the semitones from A2 to G#4 (where no note of
    // the chord has an overtone of its own) the five chord pitches are the strongest, each far
    // above every other semitone.
    const std::vector<double> held(left.begin() + RenderSampleRate / 20,
                                   left.begin() + RenderSampleRate * 45 / 100);
    std::vector<std::pair<double, int>> byEnergy;
    for (int key = 45; key <= 68; ++key)
        byEnergy.emplace_back(EnergyAt(held, KeyHz(key)), key);
    std::sort(byEnergy.rbegin(), byEnergy.rend());
    std::vector<int> strongest;
    for (std::size_t i = 0; i < 5; ++i)
        strongest.push_back(byEnergy[i].second);
    std::sort(strongest.begin(), strongest.end());
    EXPECT_EQ(strongest, (std::vector<int>{50, 55, 59, 62, 67}));
    EXPECT_GT(byEnergy[4].first, 50 * byEnergy[5].first);
}

TEST_F(RenderedSound, ChordsFollowEachOtherAtTheTempoAndCommentsTakeNoTime) {
    RenderSettings slow;
    slow.Tempo = 60;
    const std::vector<double> left =
        Render({Entry("*comment"), Entry("G, 0, 0, 0, 0, 0, E"), Entry(""),
                Entry("Rest, x, x, x, x, x, Q"), Entry("C, x, 2, 0, 1, 2, E")},
               slow);
    // 500 + 1000 + 500 ms and the tail.
    EXPECT_EQ(left.size(),
              static_cast<std::size_t>(RenderSampleRate * (2000 + RenderTailMs) / 1000));
    // The first chord rings into the rest only as its fading release; the last chord sounds
    // from its start, 1500 ms in.
    const double first = Rms(left, 0, 500);
    const double lateRest = Rms(left, 1300, 1500);
    const double last = Rms(left, 1500, 1700);
    EXPECT_LT(lateRest, first / 20);
    EXPECT_GT(last, 10 * lateRest);
    EXPECT_LT(Rms(left, 1450, 1500), Rms(left, 1500, 1550) / 10) << "the last chord starts late";
}

// A half-note hammer-on on string 3 from G to A: ringing, the A is still the strongest pitch in
// the chord's last fifth, stronger than the quick grace note's fading release (the banjo's
// release is long, so the grace note fades rather than stops).
TEST_F(RenderedSound, ARingingHammerOnSoundsItsTargetToTheChordsEnd) {
    const std::vector<ChordEntry> song{Entry("G, x, x, 0-2, x, x, H")};
    RenderSettings ringing;
    ringing.HammerOns = HammerOnSound::Ring;
    const std::vector<double> quick = Render(song);
    const std::vector<double> rung = Render(song, ringing);
    ASSERT_EQ(rung.size(), quick.size());
    const auto lateInChord = [](const std::vector<double>& left) {
        return std::vector<double>(left.begin() + RenderSampleRate * 80 / 100,
                                   left.begin() + RenderSampleRate);
    };
    const double a = KeyHz(57);
    EXPECT_GT(EnergyAt(lateInChord(rung), a), 1.5 * EnergyAt(lateInChord(quick), a));
    EXPECT_GT(EnergyAt(lateInChord(rung), a), 1.5 * EnergyAt(lateInChord(rung), KeyHz(55)));
}

TEST_F(RenderedSound, TuningShiftsThePitch) {
    RenderSettings raised;
    raised.TuningOffset = {0, 2, 0, 0, 0, 0}; // string 1 up a whole tone: D becomes E
    const std::vector<double> left = Render({Entry("D, x, x, x, x, 0, Q")}, raised);
    const std::vector<double> held(left.begin() + RenderSampleRate / 20,
                                   left.begin() + RenderSampleRate * 45 / 100);
    EXPECT_GT(EnergyAt(held, KeyHz(64)), 10 * EnergyAt(held, KeyHz(62)));
}

} // namespace
} // namespace fw
