#include "editor/fretboard_view.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cmath>
#include <map>

namespace fw {
namespace {

using RowStates = std::map<int, MarkerState>; // position -> state; the rest hidden

RowStates RowOf(const FretboardView& view, int string) {
    RowStates row;
    for (int position = 0; position <= MaxFret; ++position) {
        if (const MarkerState s = view.markerState(string, position); s != MarkerState::Hidden)
            row[position] = s;
    }
    return row;
}

constexpr MarkerState Note = MarkerState::Note;
constexpr MarkerState Hammer = MarkerState::HammerTarget;

TEST(FretboardView, ListsAll115MarkersHidden) {
    FretboardView view;
    const QList<FretMarker> markers = view.markers();
    ASSERT_EQ(markers.size(), 115);
    int i = 0;
    for (int string = 1; string <= 5; ++string) {
        for (int position = 0; position <= 22; ++position, ++i) {
            const FretMarker& m = markers[i];
            EXPECT_EQ(m.name, MarkerName(string, position));
            EXPECT_EQ(ParseMarkerName(m.name), (MarkerId{string, position}));
            EXPECT_EQ(m.rect, MarkerRect(string, position));
            EXPECT_EQ(m.enabled, MarkerEnabled(string, position));
            EXPECT_EQ(m.state, MarkerState::Hidden);
        }
    }
    EXPECT_EQ(view.markerColor(), 0xFFFF00u);
    EXPECT_EQ(view.markerShape(), ShapeCircle);
}

TEST(FretboardView, PrefersTheHeightThatKeepsItsProportions) {
    FretboardView view;
    EXPECT_EQ(view.sizeHint(), QSize(581, 127));
    EXPECT_EQ(view.minimumSizeHint(), view.sizeHint());
    EXPECT_EQ(view.size(), view.sizeHint());
    EXPECT_TRUE(view.hasHeightForWidth());
    EXPECT_TRUE(view.sizePolicy().hasHeightForWidth());
    EXPECT_EQ(view.heightForWidth(581), 127);
    EXPECT_EQ(view.heightForWidth(1162), 254);
    EXPECT_EQ(view.heightForWidth(2000), 437);
    for (const QRect& r : {NeckFrameRect, MarkerRect(1, 0), MarkerRect(5, 22), ChordNameRect,
                           FretNumbersRect01, FretNumbersRect02})
        EXPECT_TRUE(NeckArea.contains(r)) << r.x() << "," << r.y();
}

// Pixel tests run at several sizes: 100%, 200%, a view wider than the neck (margins at the
// sides) and one taller than it (margins above and below).
struct SizeCase {
    const char* name;
    QSize size;
};

const SizeCase ViewSizes[] = {
    {"At100", {581, 127}},
    {"At200", {1162, 254}},
    {"WideView", {1500, 200}},
    {"TallView", {900, 400}},
};

QImage Grab(FretboardView& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The view pixel drawn for the centre of a layout rectangle.
QColor At(const QImage& image, const FretboardView& view, QPointF layout) {
    const QPointF p = view.transform().toView(layout);
    return image.pixelColor(int(p.x()), int(p.y()));
}
QColor AtCentre(const QImage& image, const FretboardView& view, const QRect& layout) {
    return At(image, view, QRectF(layout).center());
}

// Layout rectangles inside which two images of the view differ.
bool DiffersInside(const QImage& a, const QImage& b, const FretboardView& view, const QRect& layout,
                   bool* outside) {
    const QRect inside = view.transform().toView(QRectF(layout)).toAlignedRect();
    bool differs = false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            if (inside.contains(x, y))
                differs = true;
            else if (outside)
                *outside = true;
        }
    }
    return differs;
}

class FretboardPixels : public testing::TestWithParam<SizeCase> {
protected:
    void SetUp() override { view.resize(GetParam().size); }
    FretboardView view;
};

TEST_P(FretboardPixels, TextsAreDrawnInTheirRectanglesOnly) {
    view.setChordName(QStringLiteral("G7"));
    const QImage all = Grab(view);
    view.setShowChordName(false);
    const QImage noName = Grab(view);
    view.setShowFretNumbers(false);
    const QImage none = Grab(view);
    bool outside = false;
    EXPECT_TRUE(DiffersInside(all, noName, view, ChordNameRect, &outside));
    EXPECT_TRUE(DiffersInside(noName, none, view, FretNumbersRect01, nullptr));
    EXPECT_TRUE(DiffersInside(noName, none, view, FretNumbersRect02, nullptr));
    EXPECT_FALSE(outside) << "the chord name spills out of its strip";
    EXPECT_FALSE(view.showsChordName());
    EXPECT_FALSE(view.showsFretNumbers());
    view.setShowChordName(true);
    EXPECT_EQ(view.chordName(), QStringLiteral("G7"));
    EXPECT_EQ(Grab(view), [&] {
        view.setShowFretNumbers(false);
        return Grab(view);
    }());
}

TEST_P(FretboardPixels, NotesInTheMarkerColourAndTargetsWhite) {
    view.setChordName(QStringLiteral("G7"));
    view.ShowChordMarkers({0, 2, 1, 0, 2, 0}, {0, -1, -1, -1, 4, -1});
    const QImage image = Grab(view);
    if (const QByteArray dir = qgetenv("FRETWICK_SNAPSHOT_DIR"); !dir.isEmpty())
        image.save(
            QDir(QString::fromLocal8Bit(dir))
                .filePath(QStringLiteral("fretboard_%1.png").arg(QLatin1String(GetParam().name))));

    const QColor aqua(0, 255, 255);
    for (auto [string, position] : {std::pair{1, 2}, {2, 1}, {3, 0}, {4, 2}, {5, 5}})
        EXPECT_EQ(AtCentre(image, view, MarkerRect(string, position)), aqua) << string;
    EXPECT_EQ(AtCentre(image, view, MarkerRect(4, 4)), QColor(Qt::white));
    for (auto [string, position] : {std::pair{1, 1}, {2, 2}, {4, 3}, {5, 6}, {3, 22}}) {
        const QColor c = AtCentre(image, view, MarkerRect(string, position));
        EXPECT_NE(c, aqua) << string << "/" << position;
        EXPECT_NE(c, QColor(Qt::white)) << string << "/" << position;
    }

    view.setMarkerColor(0x0000FF); // 0x00BBGGRR: red
    EXPECT_EQ(AtCentre(Grab(view), view, MarkerRect(1, 2)), QColor(255, 0, 0));
    view.setMarkerColor(0xFF0000); // blue
    EXPECT_EQ(AtCentre(Grab(view), view, MarkerRect(1, 2)), QColor(0, 0, 255));
}

// Every marker of every row lands on its own string and fret space: the filled pixels of a
// marker all lie inside its rectangle, and its centre is filled.
TEST_P(FretboardPixels, EveryMarkerLiesOnItsStringAndFret) {
    view.setMarkerShape(ShapeRectangle);
    const QColor aqua(0, 255, 255);
    for (int position = 0; position <= MaxFret; position += 1) {
        view.ShowChordMarkers({0, position, position, position, position, position - 5},
                              AllNoFrets());
        const QImage image = Grab(view);
        for (int string = 1; string <= 5; ++string) {
            if (!MarkerEnabled(string, position))
                continue;
            const QRectF r = view.transform().toView(QRectF(MarkerRect(string, position)));
            const auto pixel = [&](QPointF p) {
                const QPoint at(int(std::floor(p.x())), int(std::floor(p.y())));
                return image.rect().contains(at) ? image.pixelColor(at) : QColor();
            };
            EXPECT_EQ(pixel(r.center()), aqua) << string << "/" << position;
            // Half a pixel outside the scaled rectangle, left, right, above and below.
            for (QPointF outside :
                 {QPointF(r.left() - 0.5, r.center().y()), QPointF(r.right() + 0.5, r.center().y()),
                  QPointF(r.center().x(), r.top() - 0.5),
                  QPointF(r.center().x(), r.bottom() + 0.5)}) {
                EXPECT_NE(pixel(outside), aqua) << string << "/" << position << " spills to "
                                                << outside.x() << "," << outside.y();
            }
        }
    }
}

struct ShapePixelCase {
    int shape;
    bool cornerFilled;    // near the rectangle's top-left corner
    bool squareTopFilled; // near the top edge, inside the centred square's corner
};

// The shapes are told apart by probes half a layout pixel from their edges, so this runs at
// whole scales, where a view pixel never straddles an edge; the other sizes are covered by
// EveryMarkerLiesOnItsStringAndFret.
class FretboardShapes : public testing::TestWithParam<SizeCase> {
protected:
    void SetUp() override { view.resize(GetParam().size); }
    FretboardView view;
};

TEST_P(FretboardShapes, PaintsTheMarkerShape) {
    // DOT_s01_f02 is 30 x 11: the centred square spans x 9.5 .. 20.5 inside it.
    const ShapePixelCase cases[] = {
        {ShapeRectangle, true, true},
        {ShapeSquare, false, true},
        {ShapeEllipse, false, false},
        {ShapeCircle, false, false},
    };
    const QRect r = MarkerRect(1, 2);
    const QColor aqua(0, 255, 255);
    for (const auto& c : cases) {
        view.setMarkerShape(c.shape);
        view.ShowStringMarkers(1, 2, -1);
        const QImage image = Grab(view);
        // Probes in layout pixels: the first one of the rectangle, and one at its top edge just
        // inside the square, which the ellipse (and the circle) leave out.
        const QPointF corner = QPointF(r.topLeft()) + QPointF(0.5, 0.5);
        const QPointF squareTop = QPointF(r.topLeft()) + QPointF(10.01, 0.01);
        EXPECT_EQ(AtCentre(image, view, r), aqua) << c.shape;
        EXPECT_EQ(At(image, view, corner) == aqua, c.cornerFilled) << c.shape;
        EXPECT_EQ(At(image, view, squareTop) == aqua, c.squareTopFilled) << c.shape;
        // Nothing spills outside the rectangle.
        EXPECT_NE(At(image, view, corner - QPointF(1, 0)), aqua) << c.shape;
        EXPECT_NE(At(image, view, QPointF(r.right() + 1.5, r.bottom() + 0.5)), aqua) << c.shape;
    }
}

TEST_P(FretboardPixels, DrawsTheBlackFrameAroundThePicture) {
    const QImage image = Grab(view);
    // The middle of the 2-pixel frame on each side, and its corners.
    const QRectF f = QRectF(NeckFrameRect).adjusted(1, 1, -1, -1);
    for (QPointF p : {f.topLeft(), f.bottomRight(), f.topRight(), f.bottomLeft(),
                      QPointF(f.center().x(), f.top()), QPointF(f.right(), f.center().y())})
        EXPECT_EQ(At(image, view, p), QColor(Qt::black)) << p.x() << "," << p.y();
}

INSTANTIATE_TEST_SUITE_P(Sizes, FretboardPixels, testing::ValuesIn(ViewSizes),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(WholeScales, FretboardShapes,
                         testing::Values(SizeCase{"At100", {581, 127}},
                                         SizeCase{"At200", {1162, 254}},
                                         SizeCase{"At300", {1743, 381}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The texts never cover a marker that can show something.
TEST(FretboardView, TextsLeaveTheEnabledMarkersFree) {
    for (const QRect& text : {ChordNameRect, FretNumbersRect01, FretNumbersRect02}) {
        for (int string = 1; string <= 5; ++string) {
            for (int position = 0; position <= MaxFret; ++position) {
                if (MarkerEnabled(string, position)) {
                    EXPECT_FALSE(text.intersects(MarkerRect(string, position)))
                        << text.y() << " covers " << string << "/" << position;
                }
            }
        }
    }
}

struct RowCase {
    int string, fret, hammer;
    RowStates expected;
};

TEST(FretboardView, ShowStringMarkersRedrawsOneRow) {
    const RowCase cases[] = {
        {1, 2, -1, {{2, Note}}},
        {1, -1, -1, {}},
        {2, 2, 5, {{2, Note}, {5, Hammer}}},
        {3, 4, 4, {{4, Hammer}}}, // target on the fret: one white marker
        {4, 5, 3, {{5, Note}, {3, Hammer}}},
        {4, -1, 3, {{3, Hammer}}},
        {1, 22, -1, {{22, Note}}},
        {1, 23, 24, {}},
        {2, -3, -1, {}},
        {5, 0, -1, {{5, Note}}},
        {5, 17, -1, {{22, Note}}},
        {5, 18, -1, {}}, // beyond the neck: nothing, row still cleared
        {5, 0, 2, {{5, Note}, {7, Hammer}}},
        {5, -3, -1, {}}, // would land on a disabled position
    };
    for (const auto& c : cases) {
        FretboardView view;
        // Something on every row first, to see the row cleared.
        view.ShowChordMarkers({0, 9, 9, 9, 9, 9}, {0, 11, 11, 11, 11, 11});
        view.ShowStringMarkers(c.string, c.fret, c.hammer);
        EXPECT_EQ(RowOf(view, c.string), c.expected)
            << "string " << c.string << " fret " << c.fret << " hammer " << c.hammer;
        for (int other = 1; other <= 5; ++other) {
            if (other != c.string) {
                EXPECT_EQ(RowOf(view, other).size(), 2u) << "other row " << other;
            }
        }
    }
}

TEST(FretboardView, InvalidStringChangesNothing) {
    FretboardView view;
    view.ShowChordMarkers({0, 1, 2, 3, 4, 5}, AllNoFrets());
    const QList<FretMarker> before = view.markers();
    view.ShowStringMarkers(0, 3, -1);
    view.ShowStringMarkers(6, 3, -1);
    for (int i = 0; i < before.size(); ++i)
        EXPECT_EQ(view.markers()[i].state, before[i].state);
}

TEST(FretboardView, ShowChordMarkersReplacesThePreviousChord) {
    FretboardView view;
    view.ShowChordMarkers({0, 2, 1, 0, 2, 0}, {0, -1, -1, -1, 4, -1});
    EXPECT_EQ(RowOf(view, 1), (RowStates{{2, Note}}));
    EXPECT_EQ(RowOf(view, 2), (RowStates{{1, Note}}));
    EXPECT_EQ(RowOf(view, 3), (RowStates{{0, Note}}));
    EXPECT_EQ(RowOf(view, 4), (RowStates{{2, Note}, {4, Hammer}}));
    EXPECT_EQ(RowOf(view, 5), (RowStates{{5, Note}}));

    view.ShowChordMarkers({0, -1, 3, -1, -1, 18}, AllNoFrets());
    EXPECT_EQ(RowOf(view, 1), RowStates{});
    EXPECT_EQ(RowOf(view, 2), (RowStates{{3, Note}}));
    EXPECT_EQ(RowOf(view, 4), RowStates{});
    EXPECT_EQ(RowOf(view, 5), RowStates{}); // no stale open fifth string

    view.ShowChordMarkers(AllNoFrets(), AllNoFrets());
    for (const FretMarker& m : view.markers())
        EXPECT_EQ(m.state, MarkerState::Hidden) << m.name.toStdString();
}

} // namespace
} // namespace fw
