// The capo: the "* Capo: N" line raises everything that sounds by N semitones, while tablature
// keeps the frets and names the capo; Tuning > Capo... writes the line.

#include "export_test_support.h"

#include <QDialog>
#include <QSpinBox>

namespace fw::testing {
namespace {

const char* const Header = "*Info 1:capo\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:100\r\n";
const char* const Chords = "* Title: Reel\r\nG, 0, 0, 0, 0, 0, Q\r\nC, 0, 2, 0, 1, 2, .E\r\n"
                           "Hammer, 0, 2-4, 0, 0, 0, H\r\n\r\nD7, 0, 0, 2, 1, 0, W\r\n";

class Capo : public ExportTest {
protected:
    // The same song with and without a capo line; the path of each.
    std::pair<QString, QString> Songs(const char* capoLine = "* Capo: 2\r\n") {
        return {WriteSong(QStringLiteral("plain.fwk"), QByteArray(Header) + Chords),
                WriteSong(QStringLiteral("capo.fwk"), QByteArray(Header) + capoLine + Chords)};
    }
    QByteArray Export(const char* tool, const QString& song, const QString& out) {
        const Run run = Tool({tool, song.toStdString(), dir.filePath(out).toStdString()});
        EXPECT_EQ(run.status, 0) << run.err << run.out;
        return ReadAll(dir.filePath(out));
    }
};

TEST_F(Capo, MidiNotesAreRaisedByTheCapoWithTheSameTiming) {
    const auto [plain, capo] = Songs();
    const QByteArray a = Export("--export-midi", plain, QStringLiteral("plain.mid"));
    const QByteArray b = Export("--export-midi", capo, QStringLiteral("capo.mid"));
    ASSERT_EQ(a.size(), b.size());
    // Only note numbers differ (in note-ons and note-offs), each by two; every other byte, the
    // delta times among them, is the same.
    int raised = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        EXPECT_EQ(b[i] - a[i], 2) << "byte " << i;
        ++raised;
    }
    EXPECT_EQ(raised, 2 * (5 + 5 + 6 + 5)); // on and off of every note, the hammer's target too
}

TEST_F(Capo, MusicXmlKeepsTheOpenStringsAndWritesTheCapo) {
    const auto [plain, capo] = Songs();
    const QByteArray a = Export("--export-musicxml", plain, QStringLiteral("plain.musicxml"));
    const QByteArray b = Export("--export-musicxml", capo, QStringLiteral("capo.musicxml"));
    EXPECT_FALSE(a.contains("<capo>"));
    EXPECT_TRUE(b.contains("</staff-tuning>\n          <capo>2</capo>\n        </staff-details>"));
    EXPECT_TRUE(b.contains("<staff-tuning line=\"1\"><tuning-step>G</tuning-step>"
                           "<tuning-octave>4</tuning-octave>"));
    // The open strum sounds A: the first note of the 4th string is E3 raised from D3.
    EXPECT_TRUE(a.contains("<step>D</step><octave>3</octave>"));
    EXPECT_FALSE(b.contains("<step>D</step><octave>3</octave>"));
}

TEST_F(Capo, TablatureKeepsTheFretsAndNamesTheCapo) {
    const auto [plain, capo] = Songs();
    const QByteArray a = Export("--export-tab", plain, QStringLiteral("plain.tab"));
    const QByteArray b = Export("--export-tab", capo, QStringLiteral("capo.tab"));
    EXPECT_TRUE(b.contains("G Tuning - G D G B D, Capo 2"));
    EXPECT_FALSE(a.contains("Capo"));
    QByteArray unchanged = b;
    unchanged.replace(", Capo 2", "");
    EXPECT_EQ(unchanged, a) << "the frets are those written";
}

TEST_F(Capo, AMalformedCapoLineIsALineError) {
    for (const char* line : {"* Capo: 13\r\n", "* Capo: x\r\n"}) {
        const QString song = Songs(line).second;
        const Run run = Tool({"--check", song.toStdString()});
        EXPECT_EQ(run.status, 1) << line;
        EXPECT_EQ(run.out, "Line 1    Capo must be a fret from 0 to 12.\n") << line;
    }
}

TEST_F(Capo, TheMenuWritesTheLineAndTheStatusAndNamesFollow) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("* Verse\nChord, 0, 0, 0, 0, 0, Q"));
    const auto setCapo = [&](int fret) {
        dialogs.AnswerModal([fret](QDialog& dialog) {
            dialog.findChild<QSpinBox*>(QStringLiteral("spnCapo"))->setValue(fret);
            dialog.accept();
        });
        window.ui().Capo1->trigger();
    };
    setCapo(2);
    EXPECT_EQ(Text(), QStringLiteral("* Capo: 2\n* Verse\nChord, 0, 0, 0, 0, 0, Q"));
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("G Tuning - G D G B D, capo 2"));
    EXPECT_TRUE(window.document().Modified());
    Caret(2);
    window.ui().NameChord1->trigger();
    EXPECT_EQ(window.lines().lineText(2), QStringLiteral("A, 0, 0, 0, 0, 0, Q"));

    setCapo(0); // the line stays, saying there is no capo
    EXPECT_EQ(window.lines().lineText(0), QStringLiteral("* Capo: 0"));
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("G Tuning - G D G B D"));

    // Typing the line is the same as the menu, once the edit is through.
    window.lines().replaceLine(0, QStringLiteral("* Capo: 5"));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.statusPanel(1), QStringLiteral("G Tuning - G D G B D, capo 5"));
    window.lines().replaceLine(0, QStringLiteral("* Capo: 15"));
    Caret(0);
    window.ShowLineStatus(0);
    EXPECT_EQ(window.statusPanel(0),
              QStringLiteral("   ***Error***   Line 1    Capo must be a fret from 0 to 12."));
}

} // namespace
} // namespace fw::testing
