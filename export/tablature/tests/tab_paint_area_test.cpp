// The paint area: its size, the rows a paint needs, and painting in pieces giving the same
// picture as painting the whole page.

#include "export/tablature/tab_paint_area.h"

#include "tab_test_support.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

#include <ostream>

namespace fw {
namespace {

using test::DocumentOf;

struct RowsCase {
    const char* name;
    int rows;
    int top;
    int bottom;
    int first;
    int last;
};

void PrintTo(const RowsCase& c, std::ostream* os) {
    *os << c.name;
}

class RowsToPaint : public ::testing::TestWithParam<RowsCase> {};

// Rows start at 80 and are 90 apart; a row's drawing reaches a text height (16 here) above its
// top line and 60 + 7 + 16 below it. The duration letters of row 2 (down to 343) share their
// band with the tops of row 3's numbers (from 334).
TEST_P(RowsToPaint, AreThoseWhoseDrawingMeetsTheBand) {
    const RowsCase& c = GetParam();
    const RowRange range = RowsMeeting(ScreenTabGeometry(), 16, c.rows, c.top, c.bottom);
    EXPECT_EQ(range.first, c.first);
    EXPECT_EQ(range.last, c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RowsToPaint,
    ::testing::Values(
        RowsCase{"TitlesOnly", 10, 0, 40, 0, -1}, RowsCase{"FirstRowFromAbove", 10, 0, 64, 0, 0},
        RowsCase{"WholePage", 10, 0, 980, 0, 9},
        RowsCase{"BandInsideRowThree", 10, 80 + 3 * 90 + 10, 80 + 3 * 90 + 20, 3, 3},
        RowsCase{"DurationLettersOfRowTwo", 10, 80 + 2 * 90 + 80, 80 + 2 * 90 + 82, 2, 3},
        RowsCase{"PastTheLastRow", 10, 5000, 6000, 54, 9},
        RowsCase{"DeepInALongSong", 100000, 80 + 70000 * 90, 80 + 70000 * 90 + 400, 70000, 70004},
        RowsCase{"NoRows", 0, 0, 500, 0, -1}),
    [](const ::testing::TestParamInfo<RowsCase>& info) { return std::string(info.param.name); });

TEST(PaintArea, IsSizedForItsRowsOfTwoMeasures) {
    TabPaintArea area;
    const TabDocument five = DocumentOf(test::NumberedMeasures(5));
    area.SetDocument(&five);
    EXPECT_EQ(area.size(), QSize(593, 3 * 90 + 80));
    const TabDocument one = DocumentOf(test::NumberedMeasures(1));
    area.SetDocument(&one);
    EXPECT_EQ(area.size(), QSize(593, 90 + 80));
}

TEST(PaintArea, ASongTooTallForAWidgetIsShownAsFarAsItCanBe) {
    TabDocument document = DocumentOf(test::NumberedMeasures(1));
    document.measures.assign(400000, document.measures.front()); // 200,000 rows
    TabPaintArea area;
    area.SetDocument(&document);
    EXPECT_EQ(area.height(), QWIDGETSIZE_MAX);
    EXPECT_EQ(ScreenPaintHeight(400000), 200000 * 90 + 80);
}

// A busy page: hammer-ons, pull-offs, rests, two-digit frets, duration letters, a long measure.
std::vector<std::string> BusySong() {
    std::vector<std::string> lines = {"* Title: Cripple Creek",
                                      "* Sub: Scruggs style",
                                      "G, 0, 0, 0, 0, 0, E",
                                      "Slide, 0, 2-4, 0, 0, 0, E",
                                      "C, 0, 2, 0, 1, 2, Q",
                                      "R, x, x, x, x, x, Q",
                                      "",
                                      "D7, x, 10-12, 2, 1, 0, H",
                                      "Pull, 0, 0, 0, 0, 4-2, .E",
                                      "",
                                      "Em, x, 2, 0, 0, 0, W",
                                      ""};
    for (int i = 0; i < 12; ++i)
        lines.push_back("Roll, 0, " + std::to_string(i % 4) + ", 0, 1, 2, S");
    for (const std::string& line : test::NumberedMeasures(9))
        lines.push_back(line);
    return lines;
}

TEST(PaintArea, PaintingInStripsGivesTheWholePicture) {
    const TabDocument document = DocumentOf(
        BusySong(), {"G Tuning - G D G B D", "Cripple Creek", "Scruggs style"}, {false, true});
    const QSize size(593, ScreenPaintHeight(static_cast<int>(document.measures.size())));
    QImage whole = test::WhiteImage(size.width(), size.height());
    {
        QPainter painter(&whole);
        PaintTablature(painter, document, size, QRect(QPoint(0, 0), size));
    }
    QDir().mkpath(QStringLiteral(FRETWICK_SHOTS_DIR));
    whole.save(QStringLiteral(FRETWICK_SHOTS_DIR "/busy_song.png"));

    for (int strip : {7, 37, 90, 131}) {
        QImage pieces(size, QImage::Format_RGB32);
        pieces.fill(Qt::red);
        for (int top = 0; top < size.height(); top += strip) {
            QPainter painter(&pieces);
            PaintTablature(painter, document, size, QRect(0, top, size.width(), strip));
        }
        EXPECT_EQ(pieces, whole) << "strips of " << strip;
    }
}

TEST(PaintArea, PaintsAWhitePageWithABlackFrame) {
    const TabDocument document = DocumentOf(test::NumberedMeasures(1));
    const QSize size(593, 170);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        PaintTablature(painter, document, size, QRect(QPoint(0, 0), size));
    }
    EXPECT_TRUE(test::IsInk(image, 0, 50));
    EXPECT_TRUE(test::IsInk(image, 592, 50));
    EXPECT_TRUE(test::IsInk(image, 300, 0));
    EXPECT_TRUE(test::IsInk(image, 300, 169));
    EXPECT_EQ(image.pixel(300, 60), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(580, 150), qRgb(255, 255, 255));
}

} // namespace
} // namespace fw
