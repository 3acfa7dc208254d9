// Clicks on the neck rewrite the current line and sound a short preview.

#include "main_window_fixture.h"

#include "editor/fretboard_view.h"

#include <QPushButton>

namespace fw::testing {
namespace {

enum class Click { Left, Right, Peg };

struct ClickCase {
    const char* label;
    const char* before; // the document; the caret on line `line`
    int line;
    Click click;
    int string;
    int position;
    const char* after;            // the whole document afterwards
    std::vector<int> previewKeys; // note-on keys heard, in order
};

class FretboardClicks : public MainWindowTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(FretboardClicks, RewriteTheCurrentLine) {
    const ClickCase& c = GetParam();
    TfrmMain& window = Start();
    SetText(QString::fromUtf8(c.before));
    Caret(c.line);
    window.ShowLineStatus(c.line);
    switch (c.click) {
    case Click::Left:
        window.composer().PlaceOrRemoveNote(c.string, c.position);
        break;
    case Click::Right:
        window.composer().SetHammerOn(c.string, c.position);
        break;
    case Click::Peg:
        emit window.fretboard()->pegPressed();
        break;
    }
    EXPECT_EQ(Text(), QString::fromUtf8(c.after));
    EXPECT_EQ(NoteOnKeys(), c.previewKeys);
    EXPECT_TRUE(Messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Composed, FretboardClicks,
    ::testing::Values(
        ClickCase{"blank_left", "", 0, Click::Left, 3, 2, "Chord, x, x, 2, x, x, S", {57}},
        ClickCase{"hammer_on",
                  "Chord, x, x, 2, x, x, S",
                  0,
                  Click::Right,
                  3,
                  4,
                  "Chord, x, x, 2-4, x, x, S",
                  {57, 59}},
        ClickCase{"remove_open_fifth",
                  "G, 0, 0, 0, 0, 0, Q",
                  0,
                  Click::Left,
                  5,
                  5,
                  "Chord, x, 0, 0, 0, 0, S",
                  {}},
        ClickCase{"move_fifth",
                  "G, 0, 0, 0, 0, 0, Q",
                  0,
                  Click::Left,
                  5,
                  7,
                  "Chord, 2, 0, 0, 0, 0, S",
                  {69}},
        ClickCase{"comment_inserts_below",
                  "* Verse",
                  0,
                  Click::Left,
                  1,
                  0,
                  "* Verse\nChord, x, x, x, x, 0, S",
                  {62}},
        ClickCase{"error_line_inserts_below",
                  "G, 0, 0",
                  0,
                  Click::Left,
                  2,
                  1,
                  "G, 0, 0\nChord, x, x, x, 1, x, S",
                  {60}},
        ClickCase{"after_final_break",
                  "G, 0, 0, 0, 0, 0, Q\n",
                  1,
                  Click::Left,
                  4,
                  2,
                  "G, 0, 0, 0, 0, 0, Q\nChord, x, 2, x, x, x, S",
                  {52}},
        ClickCase{"dotted_duration_replaced",
                  "G, 0, 0, 0, 0, 0, .Q",
                  0,
                  Click::Left,
                  1,
                  3,
                  "Chord, 0, 0, 0, 0, 3, S",
                  {65}},
        ClickCase{"right_on_unplayed",
                  "C, x, 2, 0, 1, 2, Q",
                  0,
                  Click::Right,
                  5,
                  7,
                  "C, x, 2, 0, 1, 2, Q",
                  {}},
        ClickCase{"right_on_own_note",
                  "C, x, 2, 0, 1, 2, Q",
                  0,
                  Click::Right,
                  4,
                  2,
                  "C, x, 2, 0, 1, 2, Q",
                  {}},
        ClickCase{"right_on_own_fifth_note",
                  "G, 0, 0, 0, 0, 0, Q",
                  0,
                  Click::Right,
                  5,
                  5,
                  "G, 0, 0, 0, 0, 0, Q",
                  {}},
        ClickCase{"disabled_fifth_position",
                  "G, x, 0, 0, 0, 0, Q",
                  0,
                  Click::Left,
                  5,
                  3,
                  "G, x, 0, 0, 0, 0, Q",
                  {}},
        ClickCase{"peg_sets_open_fifth",
                  "G, x, 0, 0, 0, 0, Q",
                  0,
                  Click::Peg,
                  0,
                  0,
                  "Chord, 0, 0, 0, 0, 0, S",
                  {67}},
        ClickCase{"peg_removes_open_fifth",
                  "G, 0, 0, 0, 0, 0, Q",
                  0,
                  Click::Peg,
                  0,
                  0,
                  "Chord, x, 0, 0, 0, 0, S",
                  {}},
        ClickCase{"pull_off_target",
                  "Chord, x, x, x, x, 4, S",
                  0,
                  Click::Right,
                  1,
                  2,
                  "Chord, x, x, x, x, 4-2, S",
                  {66, 64}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, AFilledMarkerOnALineInErrorEmptiesTheChordAfterTheErrorBox) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    Caret(0);
    window.ShowLineStatus(0);
    // The markers still show G when the line goes wrong.
    window.lines().replaceLine(0, QStringLiteral("G, 0, 0, 0, 0, 0, Z"));
    window.composer().PlaceOrRemoveNote(1, 0);
    EXPECT_EQ(Text(), QStringLiteral("Chord, x, x, x, x, x, S"));
    EXPECT_EQ(Messages(),
              QStringList{QStringLiteral("Line 1    \"Z\" invalid. (W)hole,(H)alf,Q,E,S,T,F")});
}

// The neck still shows the chord of line `shown` while the caret stands on line `caret` (after a
// play or a step, say). A click on a shown marker never writes over a comment or a blank line:
// it places the note as on a hidden marker.
struct StaleMarkerCase {
    const char* label;
    const char* before;
    int shown;
    int caret;
    const char* after;
};

void PrintTo(const StaleMarkerCase& c, std::ostream* os) {
    *os << c.label;
}

class ClicksOnStaleMarkers : public MainWindowTest,
                             public ::testing::WithParamInterface<StaleMarkerCase> {};

TEST_P(ClicksOnStaleMarkers, NeverComposeOverACommentOrBlankLine) {
    const StaleMarkerCase& c = GetParam();
    TfrmMain& window = Start();
    SetText(QString::fromUtf8(c.before));
    window.ShowLineStatus(c.shown);
    Caret(c.caret);
    ASSERT_EQ(window.fretboard()->markerState(1, 0), MarkerState::Note);
    emit window.fretboard()->markerPressed(1, 0, Qt::LeftButton);
    EXPECT_EQ(Text(), QString::fromUtf8(c.after));
    EXPECT_EQ(NoteOnKeys(), std::vector<int>{62}) << "the placed note is previewed";
    EXPECT_TRUE(Messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ClicksOnStaleMarkers,
    ::testing::Values(StaleMarkerCase{"comment", "G, 0, 0, 0, 0, 0, Q\n* Verse", 0, 1,
                                      "G, 0, 0, 0, 0, 0, Q\n* Verse\nChord, x, x, x, x, 0, S"},
                      StaleMarkerCase{"comment_above_a_chord", "* Verse\nG, 0, 0, 0, 0, 0, Q", 1, 0,
                                      "* Verse\nChord, x, x, x, x, 0, S\nG, 0, 0, 0, 0, 0, Q"},
                      StaleMarkerCase{
                          "blank", "G, 0, 0, 0, 0, 0, Q\n\nC, x, 2, 0, 1, 2, Q", 0, 1,
                          "G, 0, 0, 0, 0, 0, Q\nChord, x, x, x, x, 0, S\nC, x, 2, 0, 1, 2, Q"},
                      StaleMarkerCase{"spaces_only", "G, 0, 0, 0, 0, 0, Q\n   ", 0, 1,
                                      "G, 0, 0, 0, 0, 0, Q\nChord, x, x, x, x, 0, S"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, MarkersFollowTheCurrentLine) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("Slide, 0, 2-4, 0, 0, 18, H\n* comment"));
    window.ShowLineStatus(0);
    FretboardView& neck = *window.fretboard();
    EXPECT_EQ(neck.markerState(4, 2), MarkerState::Note);
    EXPECT_EQ(neck.markerState(4, 4), MarkerState::HammerTarget);
    EXPECT_EQ(neck.markerState(5, 5), MarkerState::Note);
    EXPECT_EQ(neck.markerState(1, 18), MarkerState::Note);
    window.ShowLineStatus(1);
    for (int string = 1; string <= 5; ++string)
        for (int position = 0; position <= 22; ++position)
            EXPECT_EQ(neck.markerState(string, position), MarkerState::Hidden);
}

} // namespace
} // namespace fw::testing
