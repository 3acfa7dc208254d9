// Graphic tablature drawn offscreen into an image and checked where it matters: the staff, the
// columns, the numbers, the arcs of hammer-ons, the duration letters and rests.

#include "export/tablature/tab_drawing.h"

#include "tab_test_support.h"

#include <QDir>
#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>

namespace fw {
namespace {

using test::DocumentOf;
using test::InkBox;
using test::IsInk;

// One measure drawn as the screen draws the left measure of the first row.
class MeasureDrawing : public ::testing::Test {
protected:
    static constexpr int X0 = 10;
    static constexpr int Y0 = 80;
    static constexpr int W = 282;

    const TabGeometry g = ScreenTabGeometry();
    const int s = g.LineSpacing;
    const int h = g.StaffHeight;
    QImage image = test::WhiteImage(320, 200);
    int reached = 0;
    bool truncated = false;

    // A failing drawing is kept for a look.
    void TearDown() override {
        if (!HasFailure())
            return;
        QDir().mkpath(QStringLiteral(FRETWICK_SHOTS_DIR));
        image.save(QStringLiteral(FRETWICK_SHOTS_DIR "/%1.png")
                       .arg(QString::fromLatin1(
                           ::testing::UnitTest::GetInstance()->current_test_info()->name())));
    }

    void Draw(const std::vector<std::string>& lines, TabDrawOptions options = {}) {
        const TabDocument document = DocumentOf(lines);
        QPainter painter(&image);
        painter.setPen(Qt::black);
        TabCanvas canvas(painter, g, options, TabDevice::Screen);
        reached =
            canvas.DrawMeasure(MeasureChords(document.items, document.measures.at(0)), W, Y0, X0);
        truncated = canvas.truncated();
    }
    int LineY(int string) const { return Y0 + (string - 1) * s; }
    QFontMetrics Metrics(bool bold = false) const {
        return QFontMetrics(TabNumberFont(TabDevice::Screen, bold), &image);
    }
    // Ink of a number on string `string` standing in the column at x: the rows just above and
    // just below its line, where no staff line runs.
    std::optional<QRect> NumberInk(int string, int x, int width = 24) const {
        const int y = LineY(string);
        auto above = InkBox(image, QRect(x - 4, y - 5, width, 4));
        auto below = InkBox(image, QRect(x - 4, y + 1, width, 4));
        if (!above)
            return below;
        return below ? above->united(*below) : *above;
    }
};

TEST_F(MeasureDrawing, StaffLinesAndBarsStandWhereTheGeometrySays) {
    Draw({"R, x, x, x, x, x, Q"});
    for (int i = 0; i <= 4; ++i) {
        const int y = Y0 + i * s;
        for (int x : {X0 + 3, X0 + W / 2, X0 + W - 3})
            EXPECT_TRUE(IsInk(image, x, y)) << "line " << i << " at x " << x;
        EXPECT_FALSE(IsInk(image, X0 + W / 2, y + s / 2)) << "between lines " << i;
    }
    for (int y = Y0; y <= Y0 + h; y += 5) {
        EXPECT_TRUE(IsInk(image, X0, y)) << "left bar at y " << y;
        EXPECT_TRUE(IsInk(image, X0 + W - 1, y)) << "right bar at y " << y;
    }
    EXPECT_FALSE(IsInk(image, X0 + W / 2, Y0 - 3));
    EXPECT_FALSE(IsInk(image, X0 + W / 2, Y0 + h + 3));
}

TEST_F(MeasureDrawing, OneChordStandsAtOneThirdOfTheMeasure) {
    Draw({"G, 0, 0, 0, 0, 0, Q"});
    const int x = X0 + W / 3; // n = 2: three equal parts of 94
    const int bearing = Metrics().leftBearing(QLatin1Char('0'));
    for (int k = 1; k <= 5; ++k) {
        const auto ink = NumberInk(k, x);
        ASSERT_TRUE(ink) << "string " << k;
        EXPECT_NEAR(ink->left(), x + bearing, 1) << "string " << k;
        EXPECT_LE(ink->right(), x + Metrics().horizontalAdvance(QLatin1Char('0')));
        // The string line stops at the number and goes on after it.
        EXPECT_FALSE(
            IsInk(image, x + Metrics().horizontalAdvance(QLatin1Char('0')) / 2 - 1, LineY(k) + 0) &&
            !IsInk(image, x + 1, LineY(k) - 4) && !IsInk(image, x + 1, LineY(k) + 4))
            << "string " << k;
        EXPECT_TRUE(IsInk(image, x - 8, LineY(k)));
        EXPECT_TRUE(IsInk(image, x + 16, LineY(k)));
    }
    EXPECT_EQ(reached, Y0 + 5 * s);
}

TEST_F(MeasureDrawing, TwelveIsWrittenFromTheColumnsX) {
    Draw({"C, 0, 0, 0, 0, 12, Q"});
    const int x = X0 + W / 3;
    const auto ink = NumberInk(1, x, 30);
    ASSERT_TRUE(ink);
    EXPECT_NEAR(ink->left(), x + Metrics().leftBearing(QLatin1Char('1')), 1);
    // Both digits: the ink reaches past the first digit's advance.
    EXPECT_GT(ink->right(), x + Metrics().horizontalAdvance(QLatin1Char('1')) + 2);
    EXPECT_LE(ink->right(), x + Metrics().horizontalAdvance(QStringLiteral("12")));
}

TEST_F(MeasureDrawing, ArcRunsFromTheStartNoteOverToItsTarget) {
    Draw({"H, 0, 0, 0, 0, 12-14, Q"});
    // n = 2 + 1 hammer-on: four parts of 70; the target stands one column after the chord.
    const int c = W / 4;
    const int start = X0 + c;
    const int target = X0 + 2 * c;
    const QFontMetrics metrics = Metrics();
    const auto targetInk = NumberInk(1, target, 30);
    ASSERT_TRUE(targetInk);
    EXPECT_NEAR(targetInk->left(), target + metrics.leftBearing(QLatin1Char('1')), 1);

    const int d = metrics.horizontalAdvance(QLatin1Char('2')) / 2;
    const double left = start + d;
    const double right = target + d;
    const double top = LineY(1) - metrics.height() / 2;
    const double bottom = LineY(1);
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double a = (right - left) / 2;
    const double b = (bottom - top) / 2;
    auto inkNear = [&](double px, double py) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (IsInk(image, static_cast<int>(std::lround(px)) + dx,
                          static_cast<int>(std::lround(py)) + dy))
                    return true;
        return false;
    };
    const double r = std::sqrt(0.5);
    EXPECT_TRUE(inkNear(cx + a * r, cy - b * r)) << "end at the target";
    EXPECT_TRUE(inkNear(cx - a * r, cy - b * r)) << "end at the start note";
    EXPECT_TRUE(inkNear(cx, top)) << "top of the arc";
    EXPECT_FALSE(IsInk(image, static_cast<int>(cx), static_cast<int>(std::lround(cy)) + 1))
        << "only the upper part of the ellipse";
    // Nothing of the arc beyond its ends, on the level of its ends.
    EXPECT_FALSE(inkNear(cx + a * r + 5, cy - b * r - 1));
}

TEST_F(MeasureDrawing, DurationLetterStandsSevenPixelsUnderTheBottomLine) {
    Draw({"G, 0, 0, 0, 0, 0, Q"}, {false, true});
    const int x = X0 + W / 3;
    const int lineTop = Y0 + h + 7; // the top of the letter's line box
    const auto ink = InkBox(image, QRect(x - 2, Y0 + h + 6, 20, 30));
    ASSERT_TRUE(ink);
    const QFontMetrics metrics = Metrics();
    const int expectedTop =
        lineTop + metrics.ascent() + metrics.tightBoundingRect(QStringLiteral("Q")).top();
    EXPECT_NEAR(ink->top(), expectedTop, 1);
    EXPECT_NEAR(ink->left(), x + metrics.leftBearing(QLatin1Char('Q')), 1);
}

TEST_F(MeasureDrawing, NoDurationLettersWhenTheSettingIsOff) {
    Draw({"G, 0, 0, 0, 0, 0, Q"});
    EXPECT_FALSE(InkBox(image, QRect(X0 + 2, Y0 + h + 6, W - 4, 30)));
}

TEST_F(MeasureDrawing, RestKeepsAnEmptyColumnWithoutALetter) {
    Draw({"G, 0, 0, 0, 0, 0, Q", "R, x, x, x, x, x, H", "C, 0, 0, 0, 0, 0, Q"}, {false, true});
    const int c = W / 5; // n = 4: five parts
    // Between the bars and lines, nothing in the rest's column; the chords on each side have ink.
    for (int k = 1; k <= 5; ++k) {
        EXPECT_FALSE(NumberInk(k, X0 + 2 * c, 12)) << "string " << k;
        EXPECT_TRUE(NumberInk(k, X0 + c, 12)) << "string " << k;
        EXPECT_TRUE(NumberInk(k, X0 + 3 * c, 12)) << "string " << k;
    }
    EXPECT_FALSE(InkBox(image, QRect(X0 + 2 * c - 2, Y0 + h + 6, 14, 30)));
    EXPECT_TRUE(InkBox(image, QRect(X0 + 3 * c - 2, Y0 + h + 6, 14, 30)));
}

TEST_F(MeasureDrawing, AMeasureOfRestsReachesNoLowerThanItsTop) {
    Draw({"R, x, x, x, x, x, H"});
    EXPECT_EQ(reached, Y0);
}

TEST_F(MeasureDrawing, TwoHammerOnsInOneChordShareOneColumn) {
    Draw({"H, 0-2, 0, 0, 0, 0-2, Q", "G, 0, 0, 0, 0, 0, Q"});
    const int c = W / 5;                       // n = 2 chords + 1 hammered chord + 1
    EXPECT_TRUE(NumberInk(1, X0 + c, 12));     // the chord
    EXPECT_TRUE(NumberInk(1, X0 + 2 * c, 12)); // its targets
    EXPECT_TRUE(NumberInk(5, X0 + 2 * c, 12));
    EXPECT_FALSE(NumberInk(3, X0 + 2 * c, 12)); // no target on string 3
    EXPECT_TRUE(NumberInk(1, X0 + 3 * c, 12));  // the next chord
    EXPECT_FALSE(NumberInk(1, X0 + 4 * c, 12)); // the last column stays empty
}

TEST_F(MeasureDrawing, ChordsAfterThe24thAreNotDrawn) {
    std::vector<std::string> lines(24, "c, 0, 0, 0, 0, 1, S");
    lines.push_back("Dropped, 7, 7, 7, 7, 7, W");
    Draw(lines);
    EXPECT_TRUE(truncated);
    const int c = W / 26; // n = 24 drawn chords + 1
    EXPECT_TRUE(NumberInk(3, X0 + 24 * c, 8));
    // Right of the 24th chord's number, where a 25th would stand.
    EXPECT_FALSE(NumberInk(3, X0 + 25 * c + 3, 6)) << "no 25th chord";
}

struct CrowdedCase {
    const char* name;
    int hammered; // chords with a hammer-on on string 1, all in one measure
};

void PrintTo(const CrowdedCase& c, std::ostream* os) {
    *os << c.name;
}

class CrowdedMeasure : public MeasureDrawing, public ::testing::WithParamInterface<CrowdedCase> {};

// However many chords have hammer-ons, every target is drawn inside the measure: nothing
// right of the closing bar line, and the last target one column before it.
TEST_P(CrowdedMeasure, KeepsEveryHammerOnTargetInsideTheMeasure) {
    const int count = GetParam().hammered;
    Draw(std::vector<std::string>(static_cast<std::size_t>(count), "h, x, x, x, x, 1-3, S"));
    const int c = W / (2 * std::min(count, 24) + 2);
    // The string lines end one pixel past the bar line.
    EXPECT_FALSE(InkBox(image, QRect(X0 + W + 1, 0, image.width() - X0 - W - 1, image.height())))
        << "ink right of the bar line";
    const auto lastTarget = NumberInk(1, X0 + 2 * std::min(count, 24) * c, 16);
    ASSERT_TRUE(lastTarget);
    EXPECT_LT(lastTarget->right(), X0 + W - 1);
    EXPECT_EQ(truncated, count > 24);
}

INSTANTIATE_TEST_SUITE_P(Table, CrowdedMeasure,
                         ::testing::Values(CrowdedCase{"Twelve", 12}, CrowdedCase{"Thirteen", 13},
                                           CrowdedCase{"TwentyFour", 24},
                                           CrowdedCase{"ThirtyTruncated", 30}),
                         [](const ::testing::TestParamInfo<CrowdedCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MeasureDrawing, BoldNumbersCarryMoreInk) {
    auto inkCount = [this](bool bold) {
        image.fill(Qt::white);
        Draw({"G, 8, 8, 8, 8, 8, Q"}, {bold, false});
        int count = 0;
        for (int y = Y0 - 8; y <= Y0 + h + 8; ++y)
            for (int x = X0 + W / 3 - 2; x < X0 + W / 3 + 12; ++x)
                count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        return count;
    };
    const int regular = inkCount(false);
    EXPECT_GT(inkCount(true), regular + 10);
}

// --- The rows of the screen ---------------------------------------------------------------

TEST(ScreenGeometry, MatchesThePaintAreaOfTheWindow) {
    const TabGeometry g = ScreenTabGeometry();
    EXPECT_EQ(g.UsableWidth, 564);
    EXPECT_EQ(g.MeasureWidth(), 282);
    EXPECT_EQ(g.MeasureLeft(false), 10);
    EXPECT_EQ(g.MeasureLeft(true), 291);
    EXPECT_EQ(g.RowHeight(), 90);
    EXPECT_EQ(g.FirstStaffTop, 80);
    EXPECT_EQ(ScreenPaintHeight(1), 170);
    EXPECT_EQ(ScreenPaintHeight(2), 170);
    EXPECT_EQ(ScreenPaintHeight(3), 260);
}

TEST(PrinterGeometry, FollowsThePage) {
    const TabGeometry g = PrinterTabGeometry(9917, 14033);
    EXPECT_EQ(g.UsableWidth, 9917 - 991);
    EXPECT_EQ(g.LineSpacing, 233);
    EXPECT_EQ(g.StaffHeight, 932);
    EXPECT_EQ(g.FirstStaffTop, 466 + 932);
    // The staves in the middle, the title's top at the screen's 25 of 15 line spacings.
    EXPECT_EQ(g.LeftMargin, 991 / 2);
    EXPECT_EQ(g.TitleTop, 25 * 233 / 15);
}

TEST(ScreenTitles, TuningTitleAndSubtitleWhereTheyBelong) {
    QImage image = test::WhiteImage(593, 80);
    const TabGeometry g = ScreenTabGeometry();
    {
        QPainter painter(&image);
        DrawScreenTitles(painter, g, {"G Tuning - G D G B D", "Cripple Creek", "Traditional"});
    }
    const auto tuning = InkBox(image, QRect(0, 0, 200, 24));
    ASSERT_TRUE(tuning);
    EXPECT_NEAR(tuning->left(), 5, 2);
    EXPECT_GE(tuning->top(), 10);
    const QFontMetrics title(TabTitleFont(), &image);
    const auto titleInk = InkBox(image, QRect(150, 25, 300, title.height()));
    ASSERT_TRUE(titleInk);
    EXPECT_NEAR(titleInk->center().x(), g.UsableWidth / 2, 3);
    const int subtitleTop = 25 + title.height() + title.height() / 4;
    const auto subtitleInk = InkBox(image, QRect(150, subtitleTop, 300, 80 - subtitleTop));
    ASSERT_TRUE(subtitleInk);
    EXPECT_NEAR(subtitleInk->center().x(), (g.UsableWidth + g.LeftMargin) / 2, 3);
}

TEST(ScreenTitles, ABlankSubtitleWritesNothing) {
    QImage image = test::WhiteImage(593, 80);
    const TabGeometry g = ScreenTabGeometry();
    {
        QPainter painter(&image);
        DrawScreenTitles(painter, g, {"", "", " \t "});
    }
    EXPECT_FALSE(InkBox(image, image.rect()));
}

} // namespace
} // namespace fw
