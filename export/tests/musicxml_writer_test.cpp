// The MusicXML export against golden files written by hand from the notation rules, and the
// writer's stream and file behaviour.

#include "export/musicxml_writer.h"

#include "musicxml_songs.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sstream>

#ifndef FRETWICK_EXPORT_TEST_DIR
#error "FRETWICK_EXPORT_TEST_DIR must name the export tests' folder"
#endif

namespace fw {
namespace {

std::vector<test::ScoreCase> GoldenCases() {
    std::vector<test::ScoreCase> cases;
    for (const test::ScoreCase& c : test::ScoreCases())
        if (c.golden != nullptr)
            cases.push_back(c);
    return cases;
}

class MusicXmlGoldenTest : public ::testing::TestWithParam<test::ScoreCase> {};

TEST_P(MusicXmlGoldenTest, MatchesTheHandWrittenFile) {
    const test::ScoreInput input = test::MakeScore(GetParam());
    const std::string expected =
        test::ReadAll(std::string(FRETWICK_EXPORT_TEST_DIR "/golden/") + GetParam().golden);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(BuildMusicXml(input.song), expected);

    // The stream writer writes the same text.
    std::ostringstream out;
    EXPECT_TRUE(WriteMusicXml(out, input.song));
    EXPECT_EQ(out.str(), expected);
}

INSTANTIATE_TEST_SUITE_P(Songs, MusicXmlGoldenTest, ::testing::ValuesIn(GoldenCases()),
                         test::CaseName);

struct TitleCase {
    const char* label;
    std::vector<std::string> lines;
    const char* songPath;
    const char* title;
    const char* subtitle;
};

void PrintTo(const TitleCase& c, std::ostream* out) {
    *out << c.label;
}

class MusicXmlTitlesTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(MusicXmlTitlesTest, TitlesComeFromCommentsOrTheFileName) {
    const TitleCase& c = GetParam();
    MusicXmlSong song;
    SetTitlesFromLines(song, c.lines, c.songPath);
    EXPECT_EQ(song.title, c.title);
    EXPECT_EQ(song.subtitle, c.subtitle);

    const std::string text = BuildMusicXml(song);
    EXPECT_EQ(text.find("<work-title>") != std::string::npos, *c.title != '\0');
    EXPECT_EQ(text.find("<credit-type>subtitle</credit-type>") != std::string::npos,
              *c.subtitle != '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Songs, MusicXmlTitlesTest,
    ::testing::Values(TitleCase{"comment_title_wins",
                                {"* Title: Foggy Mountain", "G, 0, 0, 0, 0, 0, Q"},
                                "/s/other.fwk",
                                "Foggy Mountain",
                                ""},
                      TitleCase{"file_name_stands_in",
                                {"* Sub: live", "G, 0, 0, 0, 0, 0, Q"},
                                "/s/Old Joe Clark.fwk",
                                "Old Joe Clark",
                                "live"},
                      TitleCase{"untitled_song_has_none", {"G, 0, 0, 0, 0, 0, Q"}, "", "", ""},
                      TitleCase{"indented_star_is_no_comment", {" * Title: X"}, "", "", ""},
                      TitleCase{"later_line_wins", {"*Title: A", "*TITLE: B"}, "x.fwk", "B", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MusicXmlWriterTest, AListWithoutChordsIsOneMeasureOfRest) {
    const test::ScoreInput input = test::MakeScore({"empty", {"* only a comment", ""}});
    const std::string text = BuildMusicXml(input.song);
    EXPECT_NE(text.find("<rest/>\n        <duration>128</duration>\n        <voice>1</voice>\n"
                        "        <type>whole</type>"),
              std::string::npos);
    EXPECT_EQ(text.find("<pitch>"), std::string::npos);
    EXPECT_EQ(text.find("<measure number=\"2\">"), std::string::npos);
}

TEST(MusicXmlWriterTest, TempoAndPatchAreBroughtIntoRange) {
    test::ScoreInput input = test::MakeScore({"range", {"G, 0, 0, 0, 0, 0, Q"}});
    input.song.tempo = 900;
    input.song.patch = 200;
    std::string text = BuildMusicXml(input.song);
    EXPECT_NE(text.find("<per-minute>500</per-minute>"), std::string::npos);
    EXPECT_NE(text.find("<sound tempo=\"500\"/>"), std::string::npos);
    EXPECT_NE(text.find("<midi-program>128</midi-program>"), std::string::npos);
    input.song.tempo = 0;
    input.song.patch = -4;
    text = BuildMusicXml(input.song);
    EXPECT_NE(text.find("<sound tempo=\"1\"/>"), std::string::npos);
    EXPECT_NE(text.find("<midi-program>1</midi-program>"), std::string::npos);
}

TEST(MusicXmlWriterTest, ALongSongIsWrittenInPiecesWithTheSameText) {
    test::ScoreInput input = test::MakeScore({"long", test::LongSong()});
    std::vector<ChordEntry> many;
    for (int i = 0; i < 200; ++i)
        many.insert(many.end(), input.entries.begin(), input.entries.end());
    input.song.entries = many;
    const std::string whole = BuildMusicXml(input.song);
    ASSERT_GT(whole.size(), 1u << 18) << "big enough to need several pieces";
    std::ostringstream out;
    EXPECT_TRUE(WriteMusicXml(out, input.song));
    EXPECT_EQ(out.str(), whole);
}

TEST(MusicXmlWriterTest, AFailedStreamIsReported) {
    const test::ScoreInput input = test::MakeScore({"g", {"G, 0, 0, 0, 0, 0, Q"}});
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(WriteMusicXml(out, input.song));
}

TEST(MusicXmlWriterTest, TheFileIsReplacedWholeOrNotAtAll) {
    test::TempFolder folder;
    const test::ScoreInput input = test::MakeScore({"g", {"G, 0, 0, 0, 0, 0, Q"}});
    const std::string path = folder / "song.musicxml";
    test::WriteText(path, "old");
    std::string error;
    ASSERT_TRUE(WriteMusicXmlFile(path, input.song, error)) << error;
    EXPECT_EQ(test::ReadAll(path), BuildMusicXml(input.song));

    const std::string missing = folder / "no/such/folder/song.musicxml";
    EXPECT_FALSE(WriteMusicXmlFile(missing, input.song, error));
    EXPECT_NE(error.find("song.musicxml"), std::string::npos) << error;
    EXPECT_EQ(test::EntryCount(folder.path()), 1u) << "no temporary file is left behind";
}

} // namespace
} // namespace fw
