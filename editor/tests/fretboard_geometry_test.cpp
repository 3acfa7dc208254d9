#include "editor/fretboard_geometry.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace fw {
namespace {

// The left edge of each column from the layout's rule, not from a table: a start of 18 and
// steps of 36 after positions 0 to 4, 38 after 5, 25 after 6 to 11 except 26 after 9, 24 after
// 12 and 18 after 13 to 21.
int ExpectedLeft(int position) {
    int left = 18;
    for (int p = 0; p < position; ++p) {
        if (p <= 4)
            left += 36;
        else if (p == 5)
            left += 38;
        else if (p <= 11)
            left += p == 9 ? 26 : 25;
        else if (p == 12)
            left += 24;
        else
            left += 18;
    }
    return left;
}

int ExpectedWidth(int position) {
    if (position <= 5)
        return 30;
    return position <= 12 ? 15 : 10;
}

QString TwoDigit(int n) {
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

TEST(FretboardGeometry, EveryMarkerHasItsNameRectangleAndEnabledFlag) {
    int count = 0;
    for (int string = 1; string <= 5; ++string) {
        for (int position = 0; position <= 22; ++position, ++count) {
            SCOPED_TRACE(testing::Message() << "string " << string << " position " << position);
            EXPECT_EQ(MarkerName(string, position), QStringLiteral("DOT_s") + TwoDigit(string) +
                                                        QStringLiteral("_f") + TwoDigit(position));
            const int top = 4 + 14 + 12 * (string - 1);
            EXPECT_EQ(MarkerRect(string, position),
                      QRect(ExpectedLeft(position), top, ExpectedWidth(position), 11));
            EXPECT_EQ(MarkerRect(string, position).bottom(), top + 10);
            EXPECT_EQ(MarkerEnabled(string, position), !(string == 5 && position < 5));
        }
    }
    EXPECT_EQ(count, MarkerCount);
    EXPECT_EQ(MarkerName(1, 0), QStringLiteral("DOT_s01_f00"));
    EXPECT_EQ(MarkerName(5, 22), QStringLiteral("DOT_s05_f22"));
}

TEST(FretboardGeometry, LeftEdgesLandOnTheLaidDownColumns) {
    // A few edges spelled out: the first and last of each width, and the odd step after 9.
    const std::pair<int, int> edges[] = {{0, 18},   {5, 198},  {6, 236},  {9, 311},
                                         {10, 337}, {12, 387}, {13, 411}, {22, 573}};
    for (const auto& [position, left] : edges)
        EXPECT_EQ(MarkerColumnLeft(position), left) << "position " << position;
}

TEST(FretboardGeometry, PictureAndFrame) {
    EXPECT_EQ(PictureRect, QRect(21, 4, 576, 123));
    EXPECT_EQ(NeckFrameRect, QRect(19, 2, 580, 127));
    // Position 0 starts 3 pixels left of the picture; rows start 14 below its top.
    EXPECT_EQ(MarkerRect(1, 0).left() - PictureRect.left(), -3);
    EXPECT_EQ(MarkerRect(3, 7).top() - PictureRect.top(), 14 + 24);
}

TEST(FretboardGeometry, RectanglesDoNotOverlap) {
    std::vector<QRect> rects;
    for (int string = 1; string <= 5; ++string)
        for (int position = 0; position <= 22; ++position)
            rects.push_back(MarkerRect(string, position));
    for (std::size_t i = 0; i < rects.size(); ++i)
        for (std::size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(rects[i].intersects(rects[j])) << i << " and " << j;
}

TEST(FretboardGeometry, InvalidIdsHaveNoRectangle) {
    for (auto [string, position] : {std::pair{0, 0}, {6, 0}, {1, -1}, {1, 23}}) {
        EXPECT_TRUE(MarkerRect(string, position).isNull());
        EXPECT_FALSE(MarkerEnabled(string, position));
    }
}

struct PositionCase {
    int string, fret, position;
};

TEST(FretboardGeometry, MarkerPositionBothWays) {
    const PositionCase cases[] = {
        {1, 0, 0},   {1, 22, 22}, {4, 7, 7},   {5, 0, 5},   {5, 17, 22},
        {5, 18, 23}, {1, -1, -1}, {5, -1, -1}, {3, 23, 23},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MarkerPosition(c.string, c.fret), c.position) << c.string << "/" << c.fret;
        EXPECT_EQ(FretAtPosition(c.string, c.position), c.fret) << c.string << "/" << c.fret;
    }
}

TEST(FretboardGeometry, ParsesMarkerNames) {
    for (int string = 1; string <= 5; ++string) {
        for (int position = 0; position <= 22; ++position) {
            const auto id = ParseMarkerName(MarkerName(string, position));
            ASSERT_TRUE(id.has_value());
            EXPECT_EQ(*id, (MarkerId{string, position}));
        }
    }
    for (const char* bad : {"", "DOT_s06_f00", "DOT_s00_f00", "DOT_s01_f23", "dot_s01_f00",
                            "DOT_s1_f00", "DOT_s01_f00x", "DOT_s01-f00", "DOT_sa1_f00"}) {
        EXPECT_FALSE(ParseMarkerName(QString::fromLatin1(bad)).has_value()) << bad;
    }
}

TEST(FretboardGeometry, HitsEveryEnabledMarkerAtItsCentreAndEdges) {
    for (int string = 1; string <= 5; ++string) {
        for (int position = 0; position <= 22; ++position) {
            const QRect r = MarkerRect(string, position);
            for (QPoint p : {r.center(), r.topLeft(), r.bottomRight()}) {
                const auto hit = EnabledMarkerAt(p);
                if (MarkerEnabled(string, position)) {
                    ASSERT_TRUE(hit.has_value()) << string << "/" << position;
                    EXPECT_EQ(*hit, (MarkerId{string, position}));
                } else {
                    EXPECT_FALSE(hit.has_value()) << string << "/" << position;
                }
            }
        }
    }
}

TEST(FretboardGeometry, NothingBetweenMarkers) {
    // Just right of each column, in the gap before the next one, and in the gap between rows.
    for (int position = 0; position < 22; ++position) {
        const QRect r = MarkerRect(2, position);
        EXPECT_FALSE(EnabledMarkerAt(QPoint(r.right() + 1, r.center().y())).has_value());
        EXPECT_FALSE(EnabledMarkerAt(QPoint(MarkerColumnLeft(position + 1) - 1, r.center().y()))
                         .has_value());
        EXPECT_FALSE(EnabledMarkerAt(QPoint(r.center().x(), r.bottom() + 1)).has_value());
    }
    EXPECT_FALSE(EnabledMarkerAt(QPoint(300, 17)).has_value()); // above row 1
    EXPECT_FALSE(EnabledMarkerAt(QPoint(300, 77)).has_value()); // below row 5
    EXPECT_FALSE(EnabledMarkerAt(QPoint(583, 23)).has_value()); // right of position 22
}

struct HitCase {
    QPoint point;
    FretboardHit::Kind kind;
    MarkerId marker;
};

TEST(FretboardGeometry, PegRectangleComesAfterTheMarkers) {
    // Peg rectangle: picture 150 < x < 190, 60 < y < 120, i.e. client 171..210 x 65..123.
    const HitCase cases[] = {
        {{172, 65}, FretboardHit::Peg, {}},
        {{210, 123}, FretboardHit::Peg, {}},
        {{171, 100}, FretboardHit::Nothing, {}},
        {{211, 100}, FretboardHit::Nothing, {}},
        {{194, 64}, FretboardHit::Nothing, {}}, // in the gap between columns 4 and 5
        {{194, 65}, FretboardHit::Peg, {}},
        {{190, 124}, FretboardHit::Nothing, {}},
        {{190, 100}, FretboardHit::Peg, {}},
        // Disabled DOT_s05_f04 (162..191) where it lies in the peg rectangle, and where not.
        {{180, 70}, FretboardHit::Peg, {}},
        {{165, 70}, FretboardHit::Nothing, {}},
        // Disabled DOT_s05_f02 and f03 lie left of the peg rectangle.
        {MarkerRect(5, 2).center(), FretboardHit::Nothing, {}},
        {MarkerRect(5, 3).center(), FretboardHit::Nothing, {}},
        // The enabled open fifth string overlaps the peg rectangle and wins.
        {{205, 70}, FretboardHit::Marker, {5, 5}},
        {MarkerRect(4, 5).center(), FretboardHit::Marker, {4, 5}},
    };
    for (const auto& c : cases) {
        const FretboardHit hit = HitTest(c.point);
        EXPECT_EQ(hit.kind, c.kind) << c.point.x() << "," << c.point.y();
        if (c.kind == FretboardHit::Marker) {
            EXPECT_EQ(hit.marker, c.marker);
        }
    }
}

TEST(FretboardGeometry, StringsRunThroughTheRowCentres) {
    for (int string = 1; string <= 5; ++string)
        EXPECT_DOUBLE_EQ(StringCentreY(string), QRectF(MarkerRect(string, 0)).center().y());
}

TEST(FretboardGeometry, FretWiresLieCentredInTheGaps) {
    for (int position = 0; position < 22; ++position) {
        const QRect left = MarkerRect(1, position), right = MarkerRect(1, position + 1);
        const qreal x = FretWireX(position);
        EXPECT_GT(x, left.right() + 1) << position;
        EXPECT_LT(x, right.left()) << position;
        EXPECT_DOUBLE_EQ(x - (left.right() + 1), right.left() - x) << position;
    }
    EXPECT_DOUBLE_EQ(FretWireX(22), MarkerRect(1, 22).right() + 1 + 4);
}

struct ShapeCase {
    QRect rect;
    int shape;
    QRectF expected;
};

TEST(FretboardGeometry, ShapeAreas) {
    const ShapeCase cases[] = {
        {QRect(18, 18, 30, 11), ShapeRectangle, QRectF(18, 18, 30, 11)},
        {QRect(18, 18, 30, 11), ShapeEllipse, QRectF(18, 18, 30, 11)},
        {QRect(18, 18, 30, 11), ShapeCircle, QRectF(27.5, 18, 11, 11)},
        {QRect(18, 18, 30, 11), ShapeSquare, QRectF(27.5, 18, 11, 11)},
        {QRect(236, 30, 15, 11), ShapeCircle, QRectF(238, 30, 11, 11)},
        {QRect(573, 66, 10, 11), ShapeSquare, QRectF(573, 66.5, 10, 10)},
        {QRect(573, 66, 10, 11), 3, QRectF(573, 66.5, 10, 10)}, // unknown: a circle
    };
    for (const auto& c : cases)
        EXPECT_EQ(MarkerShapeRect(c.rect, c.shape), c.expected) << c.shape;
}

struct FitCase {
    const char* name;
    QSizeF view;
    qreal scale;
    QRectF neck; // where NeckArea lands in the view
};

TEST(NeckTransform, FitsTheNeckUniformlyAndCentred) {
    const FitCase cases[] = {
        {"exact", {581, 127}, 1.0, {0, 0, 581, 127}},
        {"double", {1162, 254}, 2.0, {0, 0, 1162, 254}},
        {"wide", {1000, 127}, 1.0, {209.5, 0, 581, 127}},
        {"tall", {581, 327}, 1.0, {0, 100, 581, 127}},
        {"wide and tall", {2324, 1000}, 4.0, {0, 246, 2324, 508}},
    };
    for (const auto& c : cases) {
        const NeckTransform t = NeckTransform::Fit(c.view);
        EXPECT_DOUBLE_EQ(t.scale(), c.scale) << c.name;
        EXPECT_EQ(t.neckRect(), c.neck) << c.name;
        EXPECT_EQ(t.transform().mapRect(QRectF(NeckArea)), c.neck) << c.name;
        // Every marker's corners come back to the same layout pixel.
        for (int string = 1; string <= 5; ++string) {
            for (int position = 0; position <= MaxFret; ++position) {
                const QRect r = MarkerRect(string, position);
                for (QPoint p : {r.topLeft(), r.bottomRight()}) {
                    const QPointF mid = t.toView(QPointF(p) + QPointF(0.5, 0.5));
                    ASSERT_EQ(t.toLayout(mid), p) << c.name << " " << string << "/" << position;
                }
            }
        }
    }
    EXPECT_DOUBLE_EQ(NeckTransform::Fit({0, 0}).scale(), 1.0); // a view not laid out yet
}

TEST(NeckTransform, HeightForWidthKeepsTheProportions) {
    const std::pair<int, int> cases[] = {{581, 127}, {1162, 254}, {1262, 276}, {2540, 555}};
    for (const auto& [width, height] : cases) {
        EXPECT_EQ(NeckHeightForWidth(width), height) << width;
        EXPECT_NEAR(NeckWidthForHeight(height), width, 3) << width;
    }
}

} // namespace
} // namespace fw
