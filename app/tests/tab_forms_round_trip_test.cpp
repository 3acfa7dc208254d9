// Tablature written in its other forms and read back: --export-tab with neck fret numbers and
// h/p marks (and durations, and measures from the meter), then --import-tab, gives the same
// chord lines. Run in process for every song and form, and once through the real program.

#include "command_line_runs.h"
#include "main_window_fixture.h"

#include <QRegularExpression>

#include <ostream>

namespace fw::testing {
namespace {

const QByteArray Header = "*Info 1:Fretwick song\r\n*Info 2:105\r\n*Info 3:55555\r\n"
                          "*Info 4:120\r\n* G Tuning - G D G B D\r\n";

struct RoundTripSong {
    const char* name;
    const char* lines; // chord lines, one a line; blank lines end measures
};

// The 5th string's hammer-ons and pull-offs from its nut, above the neck's 12th fret and from
// 5 to 0 (neck 10 to 0), pulls and hammers on every string, rests and dotted values.
const RoundTripSong Songs[] = {
    {"FifthStringHammersAndPulls",
     "G, 0-2, x, x, x, x, E\nG, 4-2, x, x, x, x, E\nG, 17, x, x, x, 12, Q\n"
     "G, 2-0, 0, 10-12, 12-10, 0, .E\nRest, x, x, x, x, x, S\n\n"
     "D7, 7, 2-4, 5, 4-2, 0-3, H\nG, 1, x, x, x, x, W\n"},
    {"RollsAcrossTheStrings",
     "G, x, x, 0-2, x, x, E\nG, x, x, x, 0, x, E\nG, 0, x, x, x, x, E\nG, x, x, x, x, 0, E\n"
     "C, x, x, x, 1, x, E\nC, x, x, 2, x, x, E\nC, 5, x, x, x, x, E\nC, x, x, x, x, 0, E\n\n"
     "D, 0, 0, 2, 3, 4-5, Q\nD, 3-5, x, x, x, x, .Q\nEm, x, 2-0, x, x, x, E\nRest, x, x, x, x, "
     "x, Q\n"},
};

struct RoundTripCase {
    const RoundTripSong* song;
    const char* form;
    std::vector<std::string> flags;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.song->name << " " << c.form;
}

// The chord lines of a song file without their names: the importer names chords "Chord".
QStringList ChordFields(const QByteArray& song) {
    QStringList fields;
    for (QString line :
         QString::fromUtf8(song).split(QRegularExpression(QStringLiteral("\r?\n")))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('*')))
            continue;
        fields << line.mid(line.indexOf(QLatin1Char(','))).remove(QLatin1Char(' '));
    }
    return fields;
}

class TabFormsRoundTrip : public MainWindowTest,
                          public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(TabFormsRoundTrip, ImportGivesTheSameChordLines) {
    const RoundTripCase& c = GetParam();
    QByteArray song = Header;
    song += QByteArray(c.song->lines).replace("\n", "\r\n");
    const QString in = WriteFile(QStringLiteral("song.fwk"), song);
    const std::string tab = dir.filePath(QStringLiteral("song.tab")).toStdString();
    const std::string back = dir.filePath(QStringLiteral("back.fwk")).toStdString();
    std::vector<std::string> args = {"--export-tab", in.toStdString(), tab, "--durations"};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const ToolRun exported = Tool(args);
    ASSERT_EQ(exported.status, 0) << exported.err;
    const ToolRun imported = Tool({"--import-tab", tab, back});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.err, "");
    EXPECT_EQ(ChordFields(ReadAll(QString::fromStdString(back))), ChordFields(song))
        << ReadAll(QString::fromStdString(tab)).toStdString();
}

std::vector<RoundTripCase> AllCases() {
    std::vector<RoundTripCase> cases;
    for (const RoundTripSong& song : Songs) {
        cases.push_back({&song, "NeckFrets", {"--neck-frets"}});
        cases.push_back({&song, "Hp", {"--hp"}});
        cases.push_back({&song, "NeckFretsAndHp", {"--neck-frets", "--hp"}});
        cases.push_back({&song,
                         "EveryFormFromTheMeter",
                         {"--neck-frets", "--hp", "--bars", "meter", "--chord-names"}});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Songs, TabFormsRoundTrip, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<RoundTripCase>& info) {
                             return std::string(info.param.song->name) + info.param.form;
                         });

// The written forms themselves, as a player reads them: a 5th-string D5 (own fret 7) is 12, a
// hammer-on from the open 3rd string is 0h2 and a pull-off on the 2nd 4p2.
TEST_F(MainWindowTest, TheRealProgramWritesNeckNumbersAndLetters) {
    const QString in = WriteFile(QStringLiteral("song.fwk"),
                                 Header + "D5, 7, x, x, x, x, Q\r\nG, x, x, 0-2, x, x, Q\r\n"
                                          "Em, x, x, x, 4-2, x, Q\r\n");
    const QString tab = dir.filePath(QStringLiteral("song.tab"));
    // With the durations written: without them the reader fills each measure to the meter.
    const ToolRun run =
        Binary({QStringLiteral("--export-tab"), in, tab, QStringLiteral("--durations"),
                QStringLiteral("--neck-frets"), QStringLiteral("--hp")});
    ASSERT_EQ(run.status, 0) << run.err;
    const QString text = QString::fromUtf8(ReadAll(tab));
    EXPECT_TRUE(text.contains(QStringLiteral("(5th string at neck frets)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\|-*12-"))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("0h2"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("4p2"))) << text.toStdString();
    const QString back = dir.filePath(QStringLiteral("back.fwk"));
    const ToolRun imported = Binary({QStringLiteral("--import-tab"), tab, back});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(ChordFields(ReadAll(back)).mid(0, 3),
              (QStringList{",7,x,x,x,x,Q", ",x,x,0-2,x,x,Q", ",x,x,x,4-2,x,Q"}));
}

} // namespace
} // namespace fw::testing
