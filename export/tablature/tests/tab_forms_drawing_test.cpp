// The forms of graphic tablature beyond the plain drawing, drawn offscreen: stems and beams
// below the staff, rest signs, neck fret numbers, h and p, chord and string names, rows from
// the meter with their measure numbers. Each form is also kept as a small picture for Help.

#include "export/tablature/tab_drawing.h"

#include "tab_test_support.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

#include <ostream>

namespace fw {
namespace {

using test::InkBox;
using test::IsInk;

constexpr int X0 = 10;
constexpr int Y0 = 40;
constexpr int W = 400;

TabDocument DocumentWith(const std::vector<std::string>& lines, const TabDrawOptions& options) {
    TabDocument document;
    document.items = options.forms.bars == TabBars::BlankLines
                         ? test::ItemsOf(lines)
                         : BuildTabItems(test::ParseLines(lines), lines,
                                         TabBarRule{options.forms.bars, options.meter});
    AssignMeasureSizes(document.items);
    document.measures = NonEmptyMeasures(document.items);
    document.options = options;
    return document;
}

TabDrawOptions WithForms(const TabOptions& forms, bool durations = false) {
    TabDrawOptions options(false, durations);
    options.forms = forms;
    return options;
}

// One measure drawn W wide with its top line at Y0.
QImage DrawOne(const std::vector<std::string>& lines, const TabDrawOptions& options, int x0 = X0) {
    QImage image = test::WhiteImage(W + 2 * X0 + 40, 150);
    const TabDocument document = DocumentWith(lines, options);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    TabCanvas canvas(painter, ScreenTabGeometry(), options, TabDevice::Screen);
    canvas.SetSong(document.items);
    canvas.DrawMeasure(MeasureChords(document.items, document.measures.at(0)), W, Y0, x0);
    return image;
}

// Runs of ink along the row y between x0 and x0 + w: their middles.
std::vector<int> InkRuns(const QImage& image, int y, int x0 = X0 + 2, int w = W - 4) {
    std::vector<int> runs;
    int start = -1;
    for (int x = x0; x <= x0 + w; ++x) {
        const bool ink = IsInk(image, x, y) && x < x0 + w;
        if (ink && start < 0)
            start = x;
        if (!ink && start >= 0) {
            runs.push_back((start + x - 1) / 2);
            start = -1;
        }
    }
    return runs;
}

const int S = ScreenTabGeometry().LineSpacing;
const int Bottom = Y0 + 4 * S;

struct StemCase {
    const char* name;
    std::vector<std::string> lines;
    int stems;       // crossing the upper part of the stem zone
    int beamedPairs; // neighbours joined at the outer beam
};

class StemDrawing : public ::testing::TestWithParam<StemCase> {};

TEST_P(StemDrawing, StemsAndBeamsStandUnderTheirColumns) {
    const StemCase& c = GetParam();
    const QImage image = DrawOne(c.lines, WithForms({TabRhythm::Stems}));
    // Just below the numbers of the bottom string: only stems (and rest signs) cross here.
    const std::vector<int> stems = InkRuns(image, Bottom + S);
    EXPECT_EQ(static_cast<int>(stems.size()), c.stems);
    // Nothing of the rhythm inside the staff between the lines.
    EXPECT_FALSE(InkBox(image, QRect(X0 + 2, Y0 + 3 * S + 3, W - 4, 1)) &&
                 InkRuns(image, Y0 + 3 * S + S / 2).size() > 8);
    int joined = 0;
    for (std::size_t i = 0; i + 1 < stems.size(); ++i) {
        // The outer beam runs at the stems' ends, 2.5 line spacings under their start.
        for (int y = Bottom + 3 * S - 6; y <= Bottom + 3 * S + 6; ++y) {
            bool full = true;
            for (int x = stems[i]; x <= stems[i + 1]; ++x)
                full = full && IsInk(image, x, y);
            if (full) {
                ++joined;
                break;
            }
        }
    }
    EXPECT_EQ(joined, c.beamedPairs);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StemDrawing,
    ::testing::Values(
        StemCase{"EighthsInPairs",
                 {"G,0,0,0,0,0,E", "G,0,0,0,0,0,E", "G,0,0,0,0,0,E", "G,0,0,0,0,0,E",
                  "G,0,0,0,0,0,E", "G,0,0,0,0,0,E", "G,0,0,0,0,0,E", "G,0,0,0,0,0,E"},
                 8,
                 4},
        StemCase{
            "SixteenthsInFours",
            {"G,0,0,0,0,0,S", "G,0,0,0,0,0,S", "G,0,0,0,0,0,S", "G,0,0,0,0,0,S", "G,0,0,0,0,0,Q"},
            5,
            3},
        StemCase{"QuartersStandAlone", {"G,0,0,0,0,0,Q", "G,0,0,0,0,0,Q", "G,0,0,0,0,0,Q"}, 3, 0},
        StemCase{"HammerOnTargetSharesItsStem", {"G,0,0,0,0,0-2,E", "G,0,0,0,0,0,E"}, 2, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormsDrawing, ARestGetsASignAndNoNumbers) {
    const QImage image =
        DrawOne({"G,0,0,0,0,0,Q", "Rest,x,x,x,x,x,Q"}, WithForms({TabRhythm::Stems}));
    const std::vector<int> marks = InkRuns(image, Bottom + S + S / 2);
    ASSERT_EQ(marks.size(), 2u) << "a stem and the rest sign";
    // No number over the rest's column on any string.
    for (int k = 1; k <= 5; ++k)
        EXPECT_FALSE(InkBox(image, QRect(marks[1] - 3, Y0 + (k - 1) * S - 5, 7, 4)))
            << "string " << k;
}

// A form that writes something a different way draws the same picture as the plain drawing of
// what it writes.
struct SameAsCase {
    const char* name;
    TabOptions forms;
    std::string line;  // drawn in the form
    std::string plain; // drawn plain
};

class SameAsPlain : public ::testing::TestWithParam<SameAsCase> {};

TEST_P(SameAsPlain, DrawsWhatItWrites) {
    const SameAsCase& c = GetParam();
    EXPECT_EQ(DrawOne({c.line}, WithForms(c.forms)), DrawOne({c.plain}, {}));
}

INSTANTIATE_TEST_SUITE_P(Table, SameAsPlain,
                         ::testing::Values(SameAsCase{"NeckFretsOfTheFifthString",
                                                      {TabRhythm::None, TabBars::BlankLines, true},
                                                      "D5,7,x,x,x,x,Q",
                                                      "D5,12,x,x,x,x,Q"},
                                           SameAsCase{"NeckFretsLeaveOpenAndOtherStrings",
                                                      {TabRhythm::None, TabBars::BlankLines, true},
                                                      "G,0,2,3,4,0,Q",
                                                      "G,0,2,3,4,0,Q"},
                                           SameAsCase{"PlainOptionsDrawThePlainPicture",
                                                      {},
                                                      "G,0,0,0,0-2,0,Q",
                                                      "G,0,0,0,0-2,0,Q"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct InkCase {
    const char* name;
    TabOptions forms;
    std::string line;
    QRect area; // where the form puts ink the plain drawing leaves white
};

class FormInk : public ::testing::TestWithParam<InkCase> {};

TEST_P(FormInk, TheFormAddsItsMarks) {
    const InkCase& c = GetParam();
    EXPECT_FALSE(InkBox(DrawOne({c.line}, {}), c.area)) << "plain";
    EXPECT_TRUE(InkBox(DrawOne({c.line}, WithForms(c.forms)), c.area)) << "with the form";
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormInk,
    ::testing::Values(
        // Above the numbers of the top string.
        InkCase{"ChordNamesAboveTheStaff",
                {TabRhythm::None, TabBars::BlankLines, false, false, true},
                "Gmaj7,0,0,0,0,0,Q",
                QRect(X0, 0, W, Y0 - 10)},
        // Between a hammer-on's start and its target, just under the line of string 2.
        InkCase{"LetterBetweenHammeredNumbers",
                {TabRhythm::None, TabBars::BlankLines, false, true},
                "G,0,0,0,0-2,0,Q",
                QRect(X0 + W / 4 + 10, Y0 + S + 1, W / 4 - 16, 3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormsDrawing, StringNamesStandBeforeEachRow) {
    TabDrawOptions options =
        WithForms({TabRhythm::None, TabBars::BlankLines, false, false, false, true});
    const TabDocument document = DocumentWith({"G,0,0,0,0,0,Q"}, options);
    QImage image = test::WhiteImage(ScreenPaintWidth, 200);
    QPainter painter(&image);
    TabCanvas canvas(painter, ScreenTabGeometry(), options, TabDevice::Screen);
    const std::vector<PlacedRow> rows = canvas.PlanRows(document.items, document.measures);
    ASSERT_EQ(rows.size(), 1u);
    const int staffLeft = rows[0].measures.at(0).x;
    EXPECT_GT(staffLeft, ScreenTabGeometry().LeftMargin + 5);
    canvas.DrawRow(document.items, document.measures, rows[0], Y0);
    for (int k = 1; k <= 5; ++k)
        EXPECT_TRUE(InkBox(image, QRect(0, Y0 + (k - 1) * S - 5, staffLeft - 1, 10)))
            << "string " << k;
}

// Thirty eighth notes with no blank line: four full measures of 4-4 and one of six notes, laid
// out in rows by their widths, in order, inside the page, none truncated.
TEST(FormsDrawing, MeasuresFromTheMeterFillRowsInOrder) {
    std::vector<std::string> lines(30, "G,0,0,0,0,0,E");
    for (TabRhythm rhythm : {TabRhythm::None, TabRhythm::Stems}) {
        TabDrawOptions options = WithForms({rhythm, TabBars::Meter});
        const TabDocument document = DocumentWith(lines, options);
        ASSERT_EQ(document.measures.size(), 4u);
        EXPECT_FALSE(document.HasTruncatedMeasure());
        QImage image = test::WhiteImage(ScreenPaintWidth, 10);
        QPainter painter(&image);
        const TabGeometry g = ScreenTabGeometry();
        TabCanvas canvas(painter, g, options, TabDevice::Screen);
        std::size_t next = 0;
        for (const PlacedRow& row : canvas.PlanRows(document.items, document.measures)) {
            EXPECT_EQ(row.measureNumber, static_cast<int>(next) + 1);
            for (const PlacedMeasure& placed : row.measures) {
                EXPECT_EQ(placed.measure, next++);
                EXPECT_GE(placed.x, g.LeftMargin);
                EXPECT_LE(placed.x + placed.width, g.LeftMargin + g.UsableWidth + 1);
            }
        }
        EXPECT_EQ(next, 4u);
        EXPECT_GT(canvas.RowPitch(), g.RowHeight()) << "room for the measure numbers";
    }
}

// Small pictures of each form, as Help shows them.
TEST(FormsDrawing, PicturesOfEachForm) {
    struct Picture {
        const char* file;
        TabOptions forms;
        std::vector<std::string> lines;
    };
    const std::vector<std::string> roll = {"G,x,x,0-2,x,x,E", "G,x,x,x,0,x,E", "G,0,x,x,x,x,E",
                                           "G,x,x,x,x,0,E",   "C,x,x,x,1,x,E", "C,x,x,2,x,x,E",
                                           "C,0,x,x,x,x,E",   "C,x,x,x,x,0,E"};
    const std::vector<Picture> pictures = {
        {"tab_form_letters.png", {TabRhythm::Letters}, roll},
        {"tab_form_stems.png", {TabRhythm::Stems}, roll},
        {"tab_form_rests.png",
         {TabRhythm::Stems},
         {"G,0,0,0,0,0,Q", "Rest,x,x,x,x,x,Q", "G,x,x,x,x,0,E", "Rest,x,x,x,x,x,E",
          "D,7,x,x,x,x,H"}},
        {"tab_form_neck_frets.png",
         {TabRhythm::None, TabBars::BlankLines, true},
         {"D,0,x,x,x,x,Q", "D,2,x,x,x,x,Q", "D,5,x,x,x,x,Q", "D,7,x,x,x,x,Q"}},
        {"tab_form_hp.png",
         {TabRhythm::None, TabBars::BlankLines, false, true},
         {"G,x,x,0-2,x,x,Q", "G,x,x,x,4-2,x,Q"}},
        {"tab_form_names.png", {TabRhythm::Stems, TabBars::Meter, false, false, true, true}, roll},
    };
    const QString folder = QStringLiteral(FRETWICK_SHOTS_DIR "/forms");
    QDir().mkpath(folder);
    for (const Picture& picture : pictures) {
        TabDrawOptions options = WithForms(picture.forms, picture.forms.ShowsRhythm());
        const TabDocument document = DocumentWith(picture.lines, options);
        const TabGeometry g = ScreenTabGeometry(420);
        QImage image = test::WhiteImage(420, 150);
        int height = 0;
        {
            QPainter painter(&image);
            painter.setPen(Qt::black);
            TabCanvas canvas(painter, g, options, TabDevice::Screen);
            canvas.SetSong(document.items);
            const int top = 15 + canvas.RoomAbove() + 12;
            const std::vector<PlacedRow> rows = canvas.PlanRows(document.items, document.measures);
            ASSERT_FALSE(rows.empty()) << picture.file;
            canvas.DrawRow(document.items, document.measures, rows.front(), top);
            height = top + canvas.RowPitch() - 2 * g.LineSpacing + 20;
        }
        // Trimmed to what the form draws.
        image = image.copy(0, 0, 420, std::min(height, image.height()));
        EXPECT_TRUE(InkBox(image, image.rect())) << picture.file;
        EXPECT_TRUE(image.save(folder + QLatin1Char('/') + QLatin1String(picture.file)))
            << picture.file;
    }
}

} // namespace
} // namespace fw

namespace fw {
namespace {

// The paint area with every form, grabbed as the window shows it (at the screen's scale, so
// that a run under QT_SCALE_FACTOR=2 keeps a picture of the doubled drawing too).
TEST(FormsDrawing, ThePaintAreaShowsEveryFormWithoutTruncation) {
    std::vector<std::string> lines;
    for (int i = 0; i < 5; ++i) {
        for (const char* line :
             {"G, x, x, 0-2, x, x, E", "G, x, x, x, 0, x, E", "G, 0, x, x, x, x, E",
              "G, x, x, x, x, 0, E", "C, x, x, x, 1, x, .Q", "C, x, x, 2, x, x, S",
              "C, 7, x, x, x, x, S", "Rest, x, x, x, x, x, Q"})
            lines.emplace_back(line);
    }
    TabDrawOptions options =
        WithForms({TabRhythm::Stems, TabBars::Meter, true, true, true, true}, true);
    TabDocument document = DocumentWith(lines, options);
    document.texts = {QStringLiteral("G Tuning - G D G B D"), QStringLiteral("Forms"), {}};
    EXPECT_FALSE(document.HasTruncatedMeasure());
    TabPaintArea area;
    area.SetDocument(&document);
    EXPECT_EQ(area.height(), PaintHeight(document));
    const QImage image = area.grab().toImage();
    ASSERT_FALSE(image.isNull());
    const QString folder = QStringLiteral(FRETWICK_SHOTS_DIR "/forms");
    QDir().mkpath(folder);
    image.save(folder + QStringLiteral("/window_x%1.png").arg(image.devicePixelRatio()));
    // The last row is inside the paint area: ink in its lower part.
    const int scale = qRound(image.devicePixelRatio());
    EXPECT_TRUE(
        InkBox(image, QRect(10 * scale, image.height() - 120 * scale, 500 * scale, 110 * scale)));
}

} // namespace
} // namespace fw
