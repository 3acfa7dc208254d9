#include "editor/fretboard_view.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>

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

TEST(FretboardView, CoversFrameMarkersAndLabels) {
    FretboardView view;
    EXPECT_EQ(view.size(), QSize(599, 129));
    EXPECT_TRUE(view.rect().contains(NeckFrameRect));
    EXPECT_TRUE(view.rect().contains(MarkerRect(5, 22)));
}

struct LabelCase {
    const char* name;
    QRect rect;
    QString text;
};

TEST(FretboardView, LabelsAreNamedPlacedTransparentAndWhite) {
    FretboardView view;
    view.setChordName(QStringLiteral("G7"));
    const LabelCase cases[] = {
        {"lblChordName", QRect(18, 4, 575, 17), QStringLiteral("G7")},
        {"lblFretNumbers01", QRect(36, 71, 129, 13),
         QStringLiteral("    1                       3")},
        {"lblFretNumbers02", QRect(248, 82, 335, 13),
         QStringLiteral("7                       10             12               15        17    "
                        "    19              22")},
    };
    for (const auto& c : cases) {
        auto* label = view.findChild<QLabel*>(QLatin1String(c.name));
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->geometry(), c.rect) << c.name;
        EXPECT_EQ(label->text(), c.text) << c.name;
        EXPECT_FALSE(label->autoFillBackground()) << c.name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white)) << c.name;
        EXPECT_EQ(label->font().pointSize(), 8) << c.name;
    }
    EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("lblChordName"))->alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(view.chordName(), QStringLiteral("G7"));
}

TEST(FretboardView, VisibilitySetters) {
    FretboardView view;
    auto* name = view.findChild<QLabel*>(QStringLiteral("lblChordName"));
    auto* numbers1 = view.findChild<QLabel*>(QStringLiteral("lblFretNumbers01"));
    auto* numbers2 = view.findChild<QLabel*>(QStringLiteral("lblFretNumbers02"));
    view.setShowChordName(false);
    view.setShowFretNumbers(false);
    EXPECT_TRUE(name->isHidden());
    EXPECT_TRUE(numbers1->isHidden());
    EXPECT_TRUE(numbers2->isHidden());
    view.setShowFretNumbers(true);
    EXPECT_TRUE(name->isHidden());
    EXPECT_FALSE(numbers1->isHidden());
    EXPECT_FALSE(numbers2->isHidden());
    view.setShowChordName(true);
    EXPECT_FALSE(name->isHidden());
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

QImage Grab(FretboardView& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor At(const QImage& image, QPoint p) {
    return image.pixelColor(p);
}

TEST(FretboardView, PaintsNotesInTheMarkerColourAndTargetsWhite) {
    FretboardView view;
    view.setChordName(QStringLiteral("G7"));
    view.ShowChordMarkers({0, 2, 1, 0, 2, 0}, {0, -1, -1, -1, 4, -1});
    const QImage image = Grab(view);
    if (const QByteArray dir = qgetenv("FRETWICK_SNAPSHOT_DIR"); !dir.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("fretboard.png")));

    const QColor aqua(0, 255, 255);
    for (auto [string, position] : {std::pair{1, 2}, {2, 1}, {3, 0}, {4, 2}, {5, 5}})
        EXPECT_EQ(At(image, MarkerRect(string, position).center()), aqua) << string;
    EXPECT_EQ(At(image, MarkerRect(4, 4).center()), QColor(Qt::white));
    for (auto [string, position] : {std::pair{1, 1}, {2, 2}, {4, 3}, {5, 6}, {3, 22}}) {
        const QColor c = At(image, MarkerRect(string, position).center());
        EXPECT_NE(c, aqua) << string << "/" << position;
        EXPECT_NE(c, QColor(Qt::white)) << string << "/" << position;
    }

    view.setMarkerColor(0x0000FF); // 0x00BBGGRR: red
    EXPECT_EQ(At(Grab(view), MarkerRect(1, 2).center()), QColor(255, 0, 0));
    view.setMarkerColor(0xFF0000); // blue
    EXPECT_EQ(At(Grab(view), MarkerRect(1, 2).center()), QColor(0, 0, 255));
}

struct ShapePixelCase {
    int shape;
    bool cornerFilled;    // a pixel at the rectangle's top-left corner
    bool squareTopFilled; // a pixel at the top edge, inside the centred square's corner
};

TEST(FretboardView, PaintsTheMarkerShape) {
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
        FretboardView view;
        view.setMarkerShape(c.shape);
        view.ShowStringMarkers(1, 2, -1);
        const QImage image = Grab(view);
        EXPECT_EQ(At(image, r.center()), aqua) << c.shape;
        EXPECT_EQ(At(image, r.topLeft()) == aqua, c.cornerFilled) << c.shape;
        EXPECT_EQ(At(image, r.topLeft() + QPoint(10, 0)) == aqua, c.squareTopFilled) << c.shape;
        // Nothing spills outside the rectangle.
        EXPECT_NE(At(image, r.topLeft() - QPoint(1, 0)), aqua) << c.shape;
        EXPECT_NE(At(image, r.bottomRight() + QPoint(1, 0)), aqua) << c.shape;
    }
}

TEST(FretboardView, DrawsTheBlackFrameAroundThePicture) {
    FretboardView view;
    const QImage image = Grab(view);
    const QRect f = NeckFrameRect;
    for (QPoint p :
         {f.topLeft(), f.topLeft() + QPoint(1, 1), f.bottomRight(), f.bottomRight() - QPoint(1, 1),
          QPoint(f.center().x(), f.top() + 1), QPoint(f.right() - 1, f.center().y())})
        EXPECT_EQ(At(image, p), QColor(Qt::black)) << p.x() << "," << p.y();
}

TEST(FretboardView, MarkersLieAboveTheLabels) {
    // lblChordName (y 4..20) overlaps the first marker row (y 18..28); give it an opaque green
    // background to see which is drawn on top.
    FretboardView view;
    view.setMarkerShape(ShapeRectangle);
    view.setMarkerColor(0x0000FF);
    auto* label = view.findChild<QLabel*>(QStringLiteral("lblChordName"));
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::green);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    const QPoint overlap(MarkerRect(1, 8).center().x(), 19);
    EXPECT_EQ(At(Grab(view), overlap), QColor(Qt::green));
    view.ShowStringMarkers(1, 8, -1);
    EXPECT_EQ(At(Grab(view), overlap), QColor(255, 0, 0));
}

} // namespace
} // namespace fw
