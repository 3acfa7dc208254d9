// The chord tools in the main window: the dictionary box, which wheel steps never edit the song
// through, and the Chord Shapes window (Edit > Chord Shapes..., Ctrl+Shift+K), whose shapes
// sound and go into the song as a dictionary pick does.

#include "main_window_fixture.h"

#include "chords/chord_namer.h"
#include "chords/chord_parser.h"
#include "chords/tuning.h"
#include "windows/frm_chord_shapes.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QWheelEvent>

#include <algorithm>

namespace fw::testing {
namespace {

class ChordToolsInTheWindow : public MainWindowTest {
protected:
    TfrmMain& StartWithDictionary(const QByteArray& bytes) {
        const QString install = dir.path() + QStringLiteral("/install");
        QDir().mkpath(install);
        QFile file(install + QStringLiteral("/BCHORDS.DCT"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        ResetSettingsFile(QStringLiteral("InstallDir=%1\n").arg(install));
        return StartShown();
    }
    // The note-on keys sent from `skip` on, lowest first.
    std::vector<int> SortedKeys(std::size_t skip) const {
        std::vector<int> keys = NoteOnKeys(skip);
        std::sort(keys.begin(), keys.end());
        return keys;
    }
    // The keys `line` sounds in `tuning`, lowest first.
    static std::vector<int> KeysOf(const QString& line, int tuning) {
        const ParsedLine parsed = ParseChordText(line.toStdString(), 0);
        std::vector<int> keys = SoundingPitches(parsed.entry, TuningOffsets(tuning));
        std::sort(keys.begin(), keys.end());
        return keys;
    }
};

TEST_F(ChordToolsInTheWindow, WheelStepsOverTheDictionaryBoxLeaveTheSongAlone) {
    TfrmMain& window = StartWithDictionary("G (0), 0, 0, 0, 0, 0, Q\r\nG (7), 0, 9, 7, 8, 9, Q\r\n"
                                           "G (12), 0, 12, 12, 12, 12, Q\r\n");
    SetText(QStringLiteral("C, x, 2, 0, 1, 2, Q"));
    Caret(0);
    DictionaryComboBox* box = window.ui().cboDictionary;
    for (QWidget* target : {static_cast<QWidget*>(box), static_cast<QWidget*>(box->lineEdit())}) {
        for (const int delta : {-120, -120, -120, 120}) {
            const QPoint at = target->rect().center();
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        }
    }
    EXPECT_EQ(Text(), QStringLiteral("C, x, 2, 0, 1, 2, Q"));
    EXPECT_FALSE(window.document().Modified());

    // Typed and Enter: the entry left goes in after the current line.
    box->setFocus(Qt::TabFocusReason);
    for (const char c : std::string("(7"))
        QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                          : static_cast<QWidget*>(box),
                        c);
    QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                      : static_cast<QWidget*>(box),
                    Qt::Key_Return);
    EXPECT_EQ(Text(), QStringLiteral("C, x, 2, 0, 1, 2, Q\nG (7), 0, 9, 7, 8, 9, Q"));
    EXPECT_EQ(window.CurrentLineIndex(), 1);
}

TEST_F(ChordToolsInTheWindow, ChordShapesFindsInsertsAndSoundsInTheSongsTuning) {
    TfrmMain& window = StartWithDictionary({});
    ASSERT_TRUE(window.ui().mnuEdit->actions().contains(window.ui().ChordShapes1));
    EXPECT_EQ(window.ui().ChordShapes1->text(), QStringLiteral("Chord &Shapes..."));
    window.ApplyTuning(53565);
    SetText(QStringLiteral("* Intro\nG, 0, 0, 0, 0, 0, Q"));
    Caret(0);

    QTest::keyClick(window.ui().RichEdit1, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    TfrmChordShapes* shapes = window.ui().frmChordShapes;
    ASSERT_NE(shapes, nullptr) << "Ctrl+Shift+K opened nothing";
    EXPECT_TRUE(shapes->isVisible());
    EXPECT_EQ(shapes->Tuning(), 53565);

    QTest::keyClicks(shapes->edtChord, QStringLiteral("C"));
    const QStringList lines = shapes->ShapeLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("C (2), 0, 0, 0, 0, 2, Q"));

    // Down chooses the next shape and sounds it in the song's tuning.
    std::size_t sent = output.Messages().size();
    QTest::keyClick(shapes->edtChord, Qt::Key_Down);
    EXPECT_EQ(SortedKeys(sent), KeysOf(lines[1], 53565));
    EXPECT_EQ(Text(), QStringLiteral("* Intro\nG, 0, 0, 0, 0, 0, Q")) << "sounding edits nothing";

    // Enter inserts it after the current line, selected, and sounds it as a pick does.
    sent = output.Messages().size();
    QTest::keyClick(shapes->edtChord, Qt::Key_Return);
    EXPECT_EQ(Text(),
              QStringLiteral("* Intro\n") + lines[1] + QStringLiteral("\nG, 0, 0, 0, 0, 0, Q"));
    EXPECT_EQ(window.CurrentLineIndex(), 1);
    EXPECT_TRUE(window.document().Modified());
    EXPECT_EQ(SortedKeys(sent), KeysOf(lines[1], 53565));

    // Another tuning chosen while the window is open: its shapes follow.
    window.ApplyTuning(45435);
    EXPECT_EQ(shapes->Tuning(), 45435);
    shapes->edtChord->clear();
    QTest::keyClicks(shapes->edtChord, QStringLiteral("D"));
    EXPECT_EQ(shapes->ShapeLines().value(0), QStringLiteral("D (0), 0, 0, 0, 0, 0, Q"));
}

} // namespace
} // namespace fw::testing
