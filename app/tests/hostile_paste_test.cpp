// Edit > Paste Tablature with hostile clipboard text: binary bytes, NUL characters, a very long
// line, 200,000 lines, lone surrogates. The text either holds tablature, whose lines go in and
// all parse, or it is refused with "No banjo tablature found in the text." and the document
// stays exactly as it was (text, change mark, undo); never a hang or a crash.

#include "main_window_fixture.h"

#include "chords/chord_parser.h"
#include "tests/support/hostile_file_kinds.h"

#include <QApplication>
#include <QClipboard>

namespace fw::testing {
namespace {

// One staff of one note column on string 1, with `fill` dashes before the note and `after`
// behind the last bar of every line.
QString OneNoteStaff(int fill, const QString& after = {}) {
    const QString dashes(fill, QLatin1Char('-'));
    QString staff;
    for (int line = 0; line < 5; ++line)
        staff += QStringLiteral("|") + dashes +
                 (line == 0 ? QStringLiteral("0--") : QStringLiteral("---")) + QStringLiteral("|") +
                 after + QStringLiteral("\n");
    return staff;
}

QString Repeated(const QString& text, int times) {
    QString all;
    all.reserve(text.size() * times);
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

struct PasteCase {
    const char* name;
    QString (*clipboard)();
    int chordLines; // chord lines pasted; 0 when the text is refused
};

void PrintTo(const PasteCase& c, std::ostream* os) {
    *os << c.name;
}

const PasteCase Cases[] = {
    {"Empty", [] { return QString(); }, 0},
    {"BinaryBytes",
     [] {
         return QString::fromLatin1(hostile::BinaryBytes.data(),
                                    static_cast<qsizetype>(hostile::BinaryBytes.size()));
     },
     0},
    {"OnlyNulCharacters", [] { return QString(1000, QChar(0)); }, 0},
    // Text after a staff line's last bar makes it no staff line.
    {"NulCharactersAfterEveryStaffLine", [] { return OneNoteStaff(2, QString(1, QChar(0))); }, 0},
    {"NulCharactersInTheTitle",
     [] {
         return QStringLiteral("A") + QChar(0) + QStringLiteral("title") + QChar(0) +
                QLatin1Char('\n') + OneNoteStaff(2);
     },
     1},
    {"VeryLongLine", [] { return QString(20'000'000, QLatin1Char('-')); }, 0},
    {"VeryLongStaff", [] { return OneNoteStaff(2'000'000); }, 1},
    {"TwoHundredThousandLinesOfStaffs",
     [] { return Repeated(OneNoteStaff(2) + QLatin1Char('\n'), 40'000); }, 40'000},
    // Staffs one under the other, with no line between them.
    {"TwoHundredThousandStaffLinesInOneRun", [] { return Repeated(OneNoteStaff(2), 40'000); },
     40'000},
    {"TwoHundredThousandLinesOfDashes",
     [] { return Repeated(QStringLiteral("|-|-|-|-\n"), 200'000); }, 0},
    {"LoneSurrogates",
     [] { return Repeated(QString(1, QChar(0xD800)) + QStringLiteral("|--\n"), 5); }, 0},
    {"LoneSurrogatesAfterEveryStaffLine", [] { return OneNoteStaff(2, QString(1, QChar(0xDC00))); },
     0},
    {"LoneSurrogatesInTheTitle",
     [] {
         return QString(1, QChar(0xDC00)) + QStringLiteral("Title") + QString(1, QChar(0xD800)) +
                QLatin1Char('\n') + OneNoteStaff(2);
     },
     1},
};

class HostilePaste : public MainWindowTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(HostilePaste, PastesLinesThatParseOrRefusesAndChangesNothing) {
    const PasteCase& c = GetParam();
    TfrmMain& window = Start();
    const QString before = QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* mine");
    SetText(before);
    Caret(1);
    QApplication::clipboard()->setText(c.clipboard());
    window.PasteTablature1Click();

    if (c.chordLines == 0) {
        EXPECT_EQ(Messages(), QStringList{QStringLiteral("No banjo tablature found in the text.")});
        EXPECT_EQ(Text(), before);
        EXPECT_FALSE(window.document().Modified());
        EXPECT_FALSE(window.ui().RichEdit1->document()->isUndoAvailable());
        return;
    }
    EXPECT_EQ(Messages(), QStringList());
    EXPECT_TRUE(window.document().Modified());
    EXPECT_TRUE(Text().startsWith(before + QLatin1Char('\n')));
    int chords = 0;
    const int count = main->lines().lineCount();
    for (int line = 0; line < count; ++line) {
        const std::string text = main->lines().lineText(line).toStdString();
        const ParsedLine parsed = ParseChordText(text, line);
        EXPECT_TRUE(parsed.ok()) << parsed.error;
        chords += parsed.isChord() ? 1 : 0;
    }
    EXPECT_EQ(chords, 1 + c.chordLines); // the song's own chord and the pasted ones
}

INSTANTIATE_TEST_SUITE_P(Table, HostilePaste, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw::testing
