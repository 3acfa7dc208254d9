// Titles of tablature from the chord list's comment lines and from the song's file name.

#include "export/tab_titles.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace fw {
namespace {

struct TitleCase {
    const char* name;
    std::vector<std::string> lines;
    std::string title;
    std::string subtitle;
};

void PrintTo(const TitleCase& c, std::ostream* os) {
    *os << c.name;
}

class TitlesFromComments : public ::testing::TestWithParam<TitleCase> {};

TEST_P(TitlesFromComments, FindTitleAndSubtitle) {
    const TitleCase& c = GetParam();
    EXPECT_EQ(TitleFromComments(c.lines), c.title);
    EXPECT_EQ(SubtitleFromComments(c.lines), c.subtitle);
}

const std::string Long1200 = std::string(1200, 'a');

INSTANTIATE_TEST_SUITE_P(
    Table, TitlesFromComments,
    ::testing::Values(
        TitleCase{"PlainTitle", {"* Title: My Song"}, "My Song", ""},
        TitleCase{"MarkerInAnyCaseTextKeepsItsCase", {"*title:my song"}, "my song", ""},
        TitleCase{"LeadingSpaceIsNoComment", {" * Title: X"}, "", ""},
        TitleCase{"ChordLineIsNoComment", {"Title:, 0, 0, 0, 0, 0, Q"}, "", ""},
        TitleCase{"LaterLineWins", {"* Title: A", "G, 0, 0, 0, 0, 0, Q", "* Title: B"}, "B", ""},
        TitleCase{"LaterEmptyMatchStillWins", {"* Title: A", "*TITLE:   "}, "", ""},
        TitleCase{"NothingAfterSubMarker", {"* Sub:"}, "", ""},
        TitleCase{"BothMarkersInOneLine", {"* Title: T Sub: S"}, "T Sub: S", "S"},
        TitleCase{"FirstMarkerOfTheLineCounts", {"*Title: a Title: b"}, "a Title: b", ""},
        TitleCase{"TitleAndSubtitleLines",
                  {"* Title:  Cripple Creek ", "*sub:\tTraditional\t", "G, 0, 0, 0, 0, 0, Q"},
                  "Cripple Creek",
                  "Traditional"},
        // "SUBTITLE:" holds the title's marker, not the subtitle's.
        TitleCase{"SubtitleWordHoldsTheTitleMarker", {"*SUBTITLE: x"}, "x", ""},
        TitleCase{"MarkerWithoutColon", {"* Title My Song"}, "", ""},
        TitleCase{"NoLines", {}, "", ""},
        TitleCase{"NonAsciiTitleKeepsItsBytes",
                  {"* Title: Sm\xC3\xB6rg\xC3\xA5s"},
                  "Sm\xC3\xB6rg\xC3\xA5s",
                  ""},
        TitleCase{"CutAt999Characters", {"*Title:" + Long1200}, std::string(999, 'a'), ""}),
    [](const ::testing::TestParamInfo<TitleCase>& info) { return std::string(info.param.name); });

struct DefaultTitleCase {
    const char* name;
    std::string path;
    std::string title;
};

void PrintTo(const DefaultTitleCase& c, std::ostream* os) {
    *os << c.name;
}

class DefaultTitle : public ::testing::TestWithParam<DefaultTitleCase> {};

TEST_P(DefaultTitle, IsTheFileNameWithoutFolderAndExtension) {
    EXPECT_EQ(DefaultTabTitle(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DefaultTitle,
    ::testing::Values(DefaultTitleCase{"Untitled", "", ""},
                      DefaultTitleCase{"FullPath", "/home/pat/songs/Cripple Creek.fwk",
                                       "Cripple Creek"},
                      DefaultTitleCase{"UpperCaseExtension", "/songs/SONG.FWK", "SONG"},
                      DefaultTitleCase{"OnlyTheLastExtension", "/songs/reel.v2.fwk", "reel.v2"},
                      DefaultTitleCase{"NoExtension", "relative/tune", "tune"}),
    [](const ::testing::TestParamInfo<DefaultTitleCase>& info) {
        return std::string(info.param.name);
    });

struct PrintNameCase {
    const char* name;
    std::string path;
    std::string document;
};

void PrintTo(const PrintNameCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintName : public ::testing::TestWithParam<PrintNameCase> {};

TEST_P(PrintName, IsTheSongsFileNameSafeForAFile) {
    EXPECT_EQ(PrintDocumentName(GetParam().path), GetParam().document);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintName,
    ::testing::Values(
        PrintNameCase{"Untitled", "", "Untitled"},
        PrintNameCase{"FolderDropped", "/home/pat/songs/Cripple Creek.fwk", "Cripple Creek.fwk"},
        PrintNameCase{"UpperCase", "/songs/SONG.FWK", "SONG.FWK"},
        PrintNameCase{"ForbiddenCharacters", "/songs/Reuben | Train: 45? <\"live\"> *\\.fwk",
                      "Reuben _ Train_ 45_ __live__ __.fwk"},
        PrintNameCase{"ControlCharacters", "/songs/tab\tnew\nline.fwk", "tab_new_line.fwk"},
        PrintNameCase{"NonAsciiKept", "/songs/Ça va \xD7\xA9.fwk", "Ça va \xD7\xA9.fwk"},
        PrintNameCase{"FolderOnly", "/songs/", "Untitled"}),
    [](const ::testing::TestParamInfo<PrintNameCase>& info) {
        return std::string(info.param.name);
    });

} // namespace
} // namespace fw
