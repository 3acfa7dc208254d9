// The chord dictionary in the main window: picking entries, loading, sorting, replacing and
// writing it back at shutdown; and naming a chord from its frets.

#include "main_window_fixture.h"

#include "app/shell/install_dir.h"
#include "app/shell/settings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>

namespace fw::testing {
namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class DictionaryTest : public MainWindowTest {
protected:
    // The dictionary folder of this test, with `bytes` as its BCHORDS.DCT (none when null).
    TfrmMain& StartWithDictionary(const QByteArray& bytes, const QString& extraOptions = {}) {
        if (!bytes.isNull())
            WriteBytes(DictionaryFile(), bytes);
        ResetSettingsFile(QStringLiteral("InstallDir=%1\n").arg(InstallDir()) + extraOptions);
        return Start();
    }
    QString InstallDir() const { return dir.path() + QStringLiteral("/install"); }
    QString DictionaryFile() const { return InstallDir() + QStringLiteral("/BCHORDS.DCT"); }
    QStringList Entries() const { return main->dictionaryEntries(); }
};

struct PickCase {
    const char* name;
    const char* before;
    int caret; // the caret's line
    const char* entry;
    const char* after;
    int selected;             // the line selected afterwards; -1 when nothing changed
    std::vector<int> sounded; // note-on keys of the preview
    const char* message;      // the error box's text; "" for none
};

void PrintTo(const PickCase& c, std::ostream* os) {
    *os << c.name;
}

class DictionaryPick : public DictionaryTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(DictionaryPick, InsertsChecksSelectsAndSounds) {
    const PickCase& c = GetParam();
    TfrmMain& window = StartWithDictionary({});
    SetText(QString::fromUtf8(c.before));
    Caret(c.caret);
    const std::size_t sentBefore = output.Messages().size();
    window.cboDictionaryChange(QString::fromUtf8(c.entry));

    EXPECT_EQ(Text(), QString::fromUtf8(c.after));
    EXPECT_EQ(NoteOnKeys(sentBefore), c.sounded);
    if (*c.message) {
        EXPECT_EQ(Messages(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(dialogs.Log().back().icon, MessageIcon::Error);
        EXPECT_FALSE(window.document().Modified());
        EXPECT_FALSE(window.ui().RichEdit1->document()->isUndoAvailable());
    } else {
        EXPECT_TRUE(Messages().isEmpty());
    }
    if (c.selected >= 0) {
        EXPECT_EQ(window.CurrentLineIndex(), c.selected);
        EXPECT_EQ(window.lines().selectionLength(), window.lines().lineText(c.selected).size());
        EXPECT_TRUE(window.document().Modified());
    }
}

const char* const TenLines = "L0\nL1\nL2\nL3\nL4\nL5\nL6\nL7\nL8\nL9";

// The preview sounds the entry's notes in open G: strings 1 to 5 from D 62, B 59, G 55, D 50
// and the drone G 67.
INSTANTIATE_TEST_SUITE_P(
    Cases, DictionaryPick,
    ::testing::Values(
        PickCase{"AfterTheCaretLine",
                 TenLines,
                 3,
                 "C, 0, 2, 0, 1, 2, Q",
                 "L0\nL1\nL2\nL3\nC, 0, 2, 0, 1, 2, Q\nL4\nL5\nL6\nL7\nL8\nL9",
                 4,
                 {64, 60, 55, 52, 67},
                 ""},
        PickCase{"IntoAnEmptyList",
                 "",
                 0,
                 "G, 0, 0, 0, 0, 0, Q",
                 "G, 0, 0, 0, 0, 0, Q\n",
                 0,
                 {62, 59, 55, 50, 67},
                 ""},
        PickCase{"OnTheLineAfterAFinalBreak",
                 "L0\nL1\n",
                 2,
                 "D7, x, 0, 2, 1, 4, Q",
                 "L0\nL1\nD7, x, 0, 2, 1, 4, Q\n",
                 2,
                 {66, 60, 57, 50},
                 ""},
        PickCase{"ACommentIsInsertedSilently", "L0", 0, "* Chorus", "L0\n* Chorus", 1, {}, ""},
        PickCase{"FiveCommas",
                 TenLines,
                 3,
                 "G, 0, 0, 0, 0, Q",
                 TenLines,
                 -1,
                 {},
                 "Error in dictionary chord: Not enough commas."},
        PickCase{"FiveCommasPastLineTwelve",
                 "L0\nL1\nL2\nL3\nL4\nL5\nL6\nL7\nL8\nL9\nL10\nL11\nL12\nL13",
                 12,
                 "G, 0, 0, 0, 0, Q",
                 "L0\nL1\nL2\nL3\nL4\nL5\nL6\nL7\nL8\nL9\nL10\nL11\nL12\nL13",
                 -1,
                 {},
                 "Error in dictionary chord: Not enough commas."},
        PickCase{"ALongMessageIsCutAt96",
                 "L0",
                 0,
                 "G, 0, 0, 0, 0, abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghijklm"
                 "nopqrstuvwxyzabcdefghijklmnopqrstuvwxyz, Q",
                 "L0",
                 -1,
                 {},
                 // 'Fret number for D string ("' (27 characters) and 69 letters: 96.
                 "Error in dictionary chord: Fret number for D string "
                 "(\"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghijklmnopq"},
        PickCase{"AnEmptyEntryDoesNothing", "L0", 0, "", "L0", -1, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DictionaryTest, APickedEntryStaysShownInTheList) {
    TfrmMain& window = StartWithDictionary("G, 0, 0, 0, 0, 0, Q\r\nC, 0, 2, 0, 1, 2, Q\r\n");
    window.ui().cboDictionary->setCurrentIndex(1);
    emit window.ui().cboDictionary->activated(1);
    EXPECT_EQ(Text(), QStringLiteral("C, 0, 2, 0, 1, 2, Q\n"));
    EXPECT_EQ(window.ui().cboDictionary->currentText(), QStringLiteral("C, 0, 2, 0, 1, 2, Q"));
}

struct LoadCase {
    const char* name;
    QByteArray file; // null: no file
    bool sorted;
    QStringList entries;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

class DictionaryLoad : public DictionaryTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(DictionaryLoad, FillsTheListAtStartUp) {
    const LoadCase& c = GetParam();
    StartWithDictionary(c.file, c.sorted ? QStringLiteral("SortDictionary=1\n") : QString());
    EXPECT_EQ(Entries(), c.entries);
    EXPECT_TRUE(Messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DictionaryLoad,
    ::testing::Values(
        LoadCase{"CrLf", "b\r\na\r\n", false, {"b", "a"}},
        LoadCase{"LfOnlyReadsTheSame", "b\na\n", false, {"b", "a"}},
        LoadCase{"EmptyLinesAreEntries", "a\r\n\r\nb", false, {"a", "", "b"}},
        // Case-blind: entries differing only in case stay next to each other, in file order.
        LoadCase{"SortedIgnoringCase",
                 "gm, 1\r\nC, 2\r\nGm, 3\r\nam, 4\r\nB, 5\r\nGM, 6\r\n",
                 true,
                 {"am, 4", "B, 5", "C, 2", "gm, 1", "Gm, 3", "GM, 6"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DictionaryTest, ShutdownWritesTheListWithCrLf) {
    StartWithDictionary("b\na\n\n");
    main.reset();
    EXPECT_EQ(ReadAll(DictionaryFile()), QByteArray("b\r\na\r\n\r\n"));
}

// A dictionary gone since the first start comes back from the shipped one, with a note in the
// status bar, and is written back at shutdown as the user left it.
TEST_F(DictionaryTest, AMissingFileIsRestoredWithANote) {
    TfrmMain& window = StartWithDictionary({});
    const QByteArray shipped = ShippedDictionary();
    ASSERT_FALSE(shipped.isEmpty());
    EXPECT_EQ(ReadAll(DictionaryFile()), shipped);
    QStringList expected;
    for (const QByteArray& line : shipped.split('\n'))
        if (!line.isEmpty())
            expected << QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("The chord dictionary BCHORDS.DCT was missing: the shipped one was "
                             "restored."));
    EXPECT_TRUE(Messages().isEmpty());
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* x\nC, 0, 2, 0, 1, 2, Q"));
    window.ReplaceChordDictionary();
    main.reset();
    EXPECT_EQ(ReadAll(DictionaryFile()),
              QByteArray("G, 0, 0, 0, 0, 0, Q\r\nC, 0, 2, 0, 1, 2, Q\r\n"));
    EXPECT_TRUE(Messages().isEmpty());
}

// A new user never had a dictionary: the shipped one is installed without a word.
TEST_F(DictionaryTest, TheFirstStartInstallsTheShippedOneSilently) {
    QFile settingsFile(SettingsFilePath());
    ASSERT_TRUE(settingsFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settingsFile.write(QStringLiteral("[Options]\nInstallDir=%1\n").arg(InstallDir()).toUtf8());
    settingsFile.close();
    TfrmMain& window = Start();
    EXPECT_EQ(ReadAll(DictionaryFile()), ShippedDictionary());
    EXPECT_EQ(window.statusBar()->currentMessage(), QString());
    EXPECT_TRUE(Messages().isEmpty());
}

// An empty list goes back to the file only when the user emptied it.
TEST_F(DictionaryTest, AnEmptyListIsWrittenOnlyWhenTheUserEmptiedIt) {
    TfrmMain& window = StartWithDictionary("a\r\n");
    SetText(QStringLiteral("* no chords"));
    window.ReplaceChordDictionary();
    EXPECT_TRUE(Entries().isEmpty());
    main.reset();
    EXPECT_EQ(ReadAll(DictionaryFile()), QByteArray(""));
}

// A dictionary that cannot be restored (its folder cannot be made) is noted, and the empty
// list is not written over it at shutdown; a list the user made is, and failing that reported.
TEST_F(DictionaryTest, AFolderThatCannotBeMadeIsReported) {
    WriteBytes(dir.path() + QStringLiteral("/blocker"), "x");
    const QString install = dir.path() + QStringLiteral("/blocker/Fretwick");
    ResetSettingsFile(QStringLiteral("InstallDir=%1\n").arg(install));
    TfrmMain& window = Start();
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith(
        QStringLiteral("The chord dictionary BCHORDS.DCT is missing and the shipped one could "
                       "not be restored: ")))
        << window.statusBar()->currentMessage().toStdString();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.ReplaceChordDictionary();
    main.reset();
    EXPECT_EQ(
        Messages(),
        QStringList{QStringLiteral("Error writing: BCHORDS.DCT. Cannot find dir %1").arg(install)});
}

// A dictionary that is there but cannot be read is reported at start-up and left alone at
// shutdown, rather than replaced by an empty list.
TEST_F(DictionaryTest, AnUnreadableFileIsReportedAndNeverOverwritten) {
    QDir().mkpath(DictionaryFile()); // a folder where the file should be
    StartWithDictionary({});
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("BCHORDS.DCT")))
        << Messages()[0].toStdString();
    main.reset();
    EXPECT_TRUE(QFileInfo(DictionaryFile()).isDir());
    EXPECT_EQ(Messages().size(), 1);
}

struct ReplaceCase {
    const char* name;
    const char* text;
    bool sorted;
    QStringList entries;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << c.name;
}

class DictionaryReplace : public DictionaryTest,
                          public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(DictionaryReplace, TakesTheValidLinesAsWritten) {
    const ReplaceCase& c = GetParam();
    TfrmMain& window = StartWithDictionary(
        "old, 0, 0, 0, 0, 0, Q\r\n", c.sorted ? QStringLiteral("SortDictionary=1\n") : QString());
    SetText(QString::fromUtf8(c.text));
    window.ReplaceChordDictionary();
    EXPECT_EQ(Entries(), c.entries);
    EXPECT_EQ(ReadAll(DictionaryFile()), QByteArray("old, 0, 0, 0, 0, 0, Q\r\n"))
        << "the file changes only at shutdown";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DictionaryReplace,
    ::testing::Values(
        ReplaceCase{"CommentsAndErrorsEmptyIt",
                    "* Verse\nG, 0, 0, 0, 0, Q\nX, 0, 0, 0, 0, 0, Z",
                    false,
                    {}},
        ReplaceCase{"ABlankLineBetweenChords",
                    "G, 0, 0, 0, 0, 0, Q\n\nC, 0, 2, 0, 1, 2, E",
                    false,
                    {"G, 0, 0, 0, 0, 0, Q", "", "C, 0, 2, 0, 1, 2, E"}},
        ReplaceCase{"KeptAsWritten", "  g7 ,0,0,0,0,3,q  ", false, {"  g7 ,0,0,0,0,3,q  "}},
        ReplaceCase{"SortedWhenSortingIsOn",
                    "g, 0, 0, 0, 0, 0, Q\nC, 0, 2, 0, 1, 2, Q\nG, 0, 0, 0, 0, 0, Q\nA, x, 2, 2, "
                    "2, 2, Q",
                    true,
                    {"A, x, 2, 2, 2, 2, Q", "C, 0, 2, 0, 1, 2, Q", "g, 0, 0, 0, 0, 0, Q",
                     "G, 0, 0, 0, 0, 0, Q"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct NamingCase {
    const char* name;
    const char* line;
    int tuning; // TuningCode
    const char* after;
    bool inversions = false; // the setting "Name inversions (slash chords)"
};

void PrintTo(const NamingCase& c, std::ostream* os) {
    *os << c.name;
}

class NameChordCommand : public DictionaryTest, public ::testing::WithParamInterface<NamingCase> {};

TEST_P(NameChordCommand, RenamesTheLineToTheBestName) {
    const NamingCase& c = GetParam();
    TfrmMain& window = StartWithDictionary({});
    window.ApplyTuning(c.tuning);
    window.settings().NameInversions = c.inversions;
    SetText(QString::fromUtf8(c.line));
    Caret(0);
    window.ui().NameChord1->trigger();
    EXPECT_EQ(Text(), QString::fromUtf8(c.after));
    if (QString::fromUtf8(c.after) == QString::fromUtf8(c.line)) {
        EXPECT_EQ(Messages(), QStringList{QStringLiteral("No chord name found for these notes.")});
        EXPECT_EQ(dialogs.Log().back().icon, MessageIcon::Information);
    } else {
        EXPECT_TRUE(Messages().isEmpty());
        EXPECT_EQ(window.ui().edtName->text(), Text().section(QLatin1Char(','), 0, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameChordCommand,
    ::testing::Values(
        // The 4th string is no bass to a banjo player: no slash chords unless asked for.
        NamingCase{"OpenG", "Chord, 0, 0, 0, 0, 0, Q", 55555, "G, 0, 0, 0, 0, 0, Q"},
        NamingCase{"C", "Chord, x, 2, 0, 1, 2, Q", 55555, "C, x, 2, 0, 1, 2, Q"},
        // A complete C minor, not an Eb6 without its fifth.
        NamingCase{"Cm", "Chord, x, 1, 0, 1, 1, Q", 55555, "Cm, x, 1, 0, 1, 1, Q"},
        NamingCase{"D7WithoutThird", "Chord, x, 0, 2, 1, 0, Q", 55555, "D7, x, 0, 2, 1, 0, Q"},
        // Double C: the open strings sound C, D and G.
        NamingCase{"InDoubleC", "Chord, 0, 0, 0, 0, 0, Q", 53565, "Csus2, 0, 0, 0, 0, 0, Q"},
        NamingCase{"D7", "Old name, x, 0, 2, 1, 4, E", 55555, "D7, x, 0, 2, 1, 4, E"},
        // C E A C fretted is A minor; the open g is no tone of it and drones.
        NamingCase{"DroneOverMinor", "C?, 0, 10, 9, 10, 10, Q", 55555, "Am, 0, 10, 9, 10, 10, Q"},
        // The hammer-on's target is what rings: 0-2 on the G string gives A, so E A C E is
        // A minor (without the hammer-on it would be C).
        NamingCase{"HammerOnTarget", "Chord, x, 2, 0-2, 1, 2, Q", 55555, "Am, x, 2, 0-2, 1, 2, Q"},
        // G minor tuning (55545): the B string is tuned to Bb, the open strum is G minor.
        NamingCase{"InGMinorTuning", "Chord, 0, 0, 0, 0, 0, Q", 55545, "Gm, 0, 0, 0, 0, 0, Q"},
        NamingCase{"ARestIsLeftAlone", "Rest, x, x, x, x, x, Q", 55555, "Rest, x, x, x, x, x, Q"},
        NamingCase{"TwoNotesAreNoChord", "Chord, x, 0, x, 0, x, Q", 55555,
                   "Chord, x, 0, x, 0, x, Q"},
        NamingCase{"ACommentIsLeftAlone", "* Verse", 55555, "* Verse"},
        // Asked for, the lowest note that is not the root is written after a slash.
        NamingCase{"InversionC", "Chord, x, 2, 0, 1, 2, Q", 55555, "C/E, x, 2, 0, 1, 2, Q", true},
        NamingCase{"InversionOpenG", "Chord, 0, 0, 0, 0, 0, Q", 55555, "G/D, 0, 0, 0, 0, 0, Q",
                   true},
        NamingCase{"InversionCm", "Chord, x, 1, 0, 1, 1, Q", 55555, "Cm/Eb, x, 1, 0, 1, 1, Q",
                   true},
        NamingCase{"RootInTheBassHasNoSlash", "Chord, x, 0, 2, 1, 0, Q", 55555,
                   "D7, x, 0, 2, 1, 0, Q", true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw::testing
