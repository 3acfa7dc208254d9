// The Chord Shapes window: the first shapes in several tunings, sounding and inserting from the
// mouse and the keyboard, its messages, and its looks.

#include "ui/tests/widget_checks.h"

#include "ui/chord_diagram.h"
#include "windows/frm_chord_shapes.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace fw {
namespace {

// The texts a signal carried, one per line.
std::string Texts(const QSignalSpy& spy) {
    QStringList texts;
    for (const QList<QVariant>& call : spy)
        texts << call.at(0).toString();
    return texts.join(QLatin1Char('\n')).toStdString();
}

std::string Lines(const QStringList& lines) {
    return lines.join(QLatin1Char('\n')).toStdString();
}

class ChordShapesWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        window.edtChord->setFocus();
    }
    void Name(const QString& text) {
        window.edtChord->clear();
        QTest::keyClicks(window.edtChord, text);
    }

    TfrmChordShapes window;
    QSignalSpy sounded{&window, &TfrmChordShapes::previewRequested};
    QSignalSpy inserted{&window, &TfrmChordShapes::insertRequested};
};

struct FirstShapeCase {
    const char* name;
    int tuning;
    const char* chord;
    const char* firstLine;
};

class FirstShape : public ChordShapesWindow,
                   public ::testing::WithParamInterface<FirstShapeCase> {};

TEST_P(FirstShape, IsListedFirstAndInsertedWithEnter) {
    const FirstShapeCase& c = GetParam();
    window.SetTuning(c.tuning);
    Name(QString::fromLatin1(c.chord));
    const QStringList lines = window.ShapeLines();
    ASSERT_FALSE(lines.isEmpty()) << window.lblStatus->text().toStdString();
    EXPECT_EQ(lines.front(), QString::fromLatin1(c.firstLine));
    EXPECT_EQ(window.CurrentLine(), lines.front()) << "the best shape is chosen";
    EXPECT_EQ(Texts(sounded), "") << "nothing sounds until the user chooses";

    QTest::keyClick(window.edtChord, Qt::Key_Return);
    EXPECT_EQ(Texts(inserted), c.firstLine);
    EXPECT_TRUE(window.isVisible()) << "the window stays for the next chord";
}

INSTANTIATE_TEST_SUITE_P(
    Tunings, FirstShape,
    ::testing::Values(FirstShapeCase{"OpenG_G", 55555, "G", "G (0), 0, 0, 0, 0, 0, Q"},
                      FirstShapeCase{"OpenG_Cm", 55555, "cm", "Cm (1), 0, 1, 0, 1, 1, Q"},
                      FirstShapeCase{"DoubleC_C", 53565, "C", "C (2), 0, 0, 0, 0, 2, Q"},
                      FirstShapeCase{"OpenD_D", 45435, "D", "D (0), 0, 0, 0, 0, 0, Q"},
                      FirstShapeCase{"OpenG_A7AtFive", 55555, "A7 (5)",
                                     "A7 (5), 0, 7, 6, 5, 5, Q"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChordShapesWindow, TheTuningCanChangeWhileAChordIsShown) {
    Name(QStringLiteral("C"));
    const QStringList openG = window.ShapeLines();
    window.SetTuning(53565);
    EXPECT_EQ(window.ShapeLines().value(0), QStringLiteral("C (2), 0, 0, 0, 0, 2, Q"));
    EXPECT_NE(window.ShapeLines(), openG);
    EXPECT_TRUE(window.lblTuning->text().contains(QStringLiteral("G C G C D")))
        << window.lblTuning->text().toStdString();
}

TEST_F(ChordShapesWindow, ArrowKeysAndClicksSoundTheShapeTheyChoose) {
    Name(QStringLiteral("D7"));
    const QStringList lines = window.ShapeLines();
    ASSERT_GE(lines.size(), 3);

    // From the name box, Down and Up choose the next and the previous shape and sound it.
    QTest::keyClick(window.edtChord, Qt::Key_Down);
    QTest::keyClick(window.edtChord, Qt::Key_Down);
    QTest::keyClick(window.edtChord, Qt::Key_Up);
    EXPECT_EQ(Texts(sounded), Lines({lines[1], lines[2], lines[1]}));
    EXPECT_EQ(window.edtChord->text(), QStringLiteral("D7")) << "the arrows left the name alone";
    sounded.clear();

    // A click on another shape chooses and sounds it once; a click on the chosen one again.
    QListWidget* list = window.lstShapes;
    const QRect third = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(Texts(sounded), Lines({lines[2], lines[2]}));
    EXPECT_EQ(Texts(inserted), "");

    // Play sounds the chosen shape; Enter in the list and a double click insert it.
    QTest::mouseClick(window.btnPlay, Qt::LeftButton);
    EXPECT_EQ(Texts(sounded), Lines({lines[2], lines[2], lines[2]}));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(Texts(inserted), Lines({lines[3], lines[2]}));
}

TEST_F(ChordShapesWindow, EscapeClosesAndShowingAgainSelectsTheNameForTheNextChord) {
    Name(QStringLiteral("G7"));
    QTest::keyClick(window.edtChord, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.focusWidget(), window.edtChord);
    EXPECT_EQ(window.edtChord->selectedText(), QStringLiteral("G7"));
    QTest::keyClicks(window.edtChord, QStringLiteral("Em"));
    EXPECT_EQ(window.ShapeLines().value(0).section(QLatin1Char(','), 0, 0).left(3),
              QStringLiteral("Em "));
}

struct MessageCase {
    const char* name;
    const char* typed;
    const char* status; // a part of the message
    bool canInsert;
};

class Message : public ChordShapesWindow, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(Message, SaysWhatIsShownAndInsertsOnlyAShape) {
    const MessageCase& c = GetParam();
    Name(QString::fromLatin1(c.typed));
    EXPECT_TRUE(window.lblStatus->text().contains(QString::fromLatin1(c.status)))
        << window.lblStatus->text().toStdString();
    EXPECT_EQ(window.btnInsert->isEnabled(), c.canInsert);
    EXPECT_EQ(window.ShapeLines().isEmpty(), !c.canInsert);
    QTest::keyClick(window.edtChord, Qt::Key_Return);
    EXPECT_EQ(inserted.size(), c.canInsert ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Message,
    ::testing::Values(MessageCase{"Empty", "", "Type a chord name", false},
                      MessageCase{"NotAName", "H7", "\"H7\" is not a chord name", false},
                      MessageCase{"NamesTheQualities", "Cxyz", "m7b5", false},
                      MessageCase{"CountsTheShapes", "Am", "shapes of Am in G D G B D", true},
                      MessageCase{"SpellsTheRootItsWay", "A#m", "shapes of Bbm", true},
                      MessageCase{"NoShapeAtThatPosition", "C (14)", "No playable shape", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct DiagramCase {
    const char* name;
    FretArray frets;
    int firstFret;
};

class Diagram : public ::testing::TestWithParam<DiagramCase> {};

TEST_P(Diagram, StartsAtTheNutWhileTheShapeFitsUnderIt) {
    EXPECT_EQ(DiagramFirstFret(GetParam().frets), GetParam().firstFret);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, Diagram,
    ::testing::Values(DiagramCase{"AllOpen", {0, 0, 0, 0, 0, 0}, 1},
                      DiagramCase{"CmAtThree", {0, 5, 4, 3, 5, 0}, 3},
                      DiagramCase{"FourthFretIsStillAtTheNut", {0, 4, 3, 2, 1, -1}, 1},
                      DiagramCase{"HighShape", {0, 12, 12, 12, 10, 0}, 10},
                      DiagramCase{"FifthStringIgnored", {0, 2, 2, 2, 2, 7}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChordShapesWindow, ShowsWholeDiagramsAndTextsAtTheStartSize) {
    Name(QStringLiteral("Cm"));
    QCoreApplication::processEvents();
    EXPECT_EQ(test::CutOffTexts(window), "");
    QListWidget* list = window.lstShapes;
    ASSERT_GE(list->count(), 8);
    // At least two rows of at least four whole shapes show without scrolling.
    const QRect viewport = list->viewport()->rect();
    int whole = 0;
    for (int row = 0; row < list->count(); ++row)
        whole += viewport.contains(list->visualItemRect(list->item(row))) ? 1 : 0;
    EXPECT_GE(whole, 8);
    EXPECT_GT(test::SampledColours(*list->viewport()), 2) << "the diagrams are drawn";
    EXPECT_TRUE(test::SaveShot(window, QStringLiteral("chord_shapes")));
}

} // namespace
} // namespace fw

namespace fw {
namespace {

TEST_F(ChordShapesWindow, ListsTheTwelveBestUnlessAllAreAsked) {
    Name(QStringLiteral("Bdim"));
    ASSERT_EQ(window.lstShapes->count(), 12);
    EXPECT_TRUE(window.lblStatus->text().startsWith(QStringLiteral("The 12 best of ")))
        << window.lblStatus->text().toStdString();
    window.chkShowAll->setChecked(true);
    EXPECT_GT(window.lstShapes->count(), 12);
    EXPECT_TRUE(
        window.lblStatus->text().contains(QStringLiteral("shapes of Bdim in G D G B D, best")));
}

TEST_F(ChordShapesWindow, FindsShapesAtTheSoundingPitchWithACapo) {
    window.SetTuning(55555, 2);
    Name(QStringLiteral("A"));
    ASSERT_GT(window.lstShapes->count(), 0);
    EXPECT_EQ(window.ShapeLines().front().toStdString(), "A (0), 0, 0, 0, 0, 0, Q");
    EXPECT_TRUE(window.lblStatus->text().contains(QStringLiteral("in G D G B D, capo 2")));
    EXPECT_TRUE(window.lblTuning->text().endsWith(QStringLiteral(", capo 2")));
}

// Ink in the 5th string's column, halfway down each of the four fret rows of a 100 x 120 box.
std::vector<bool> FifthStringInk(const FretArray& frets) {
    QImage image(100, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    DrawChordDiagram(painter, QRectF(0, 0, 100, 120), frets);
    painter.end();
    // The grid as DrawChordDiagram lays it out: string 5 at its left edge.
    const double top = 120 * 0.17, gap = (120 - top - 120 * 0.04) / DiagramFrets;
    std::vector<bool> ink;
    for (int row = 0; row < DiagramFrets; ++row)
        ink.push_back(qGray(image.pixel(22, static_cast<int>(top + (row + 0.5) * gap))) < 128);
    return ink;
}

TEST(ChordDiagram, DrawsTheFifthStringFromItsOwnNut) {
    // At the nut the diagram ends above the 5th fret: no 5th string in it.
    EXPECT_EQ(FifthStringInk({0, 2, 0, 1, 2, 0}), (std::vector<bool>{false, false, false, false}));
    // From fret 3 on, the rows of frets 3 to 5 have none; its first fret, the neck's 6th, has it.
    EXPECT_EQ(FifthStringInk({0, 5, 4, 3, 5, 0}), (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(FifthStringInk({0, 12, 12, 12, 10, 0}), (std::vector<bool>(4, true)));
}

} // namespace
} // namespace fw
