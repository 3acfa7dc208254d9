#include "editor/fretboard_view.h"
#include "editor/pick_cursor.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolTip>

#include <cmath>
#include <optional>

namespace fw {
namespace {

struct PressCase {
    QPoint point;
    Qt::MouseButton button;
    std::optional<MarkerId> marker; // expected markerPressed
    bool peg;                       // expected pegPressed
};

QPoint Centre(int string, int position) {
    return MarkerRect(string, position).center();
}

// The first view pixel that lies wholly inside the layout pixel `layout`: a press there must
// land on that layout pixel at any scale of 1 or more.
QPoint ViewPoint(const FretboardView& view, QPoint layout) {
    const QPointF p = view.transform().toView(QPointF(layout));
    return {int(std::ceil(p.x() - 1e-9)), int(std::ceil(p.y() - 1e-9))};
}

struct SizeCase {
    const char* name;
    QSize size;
};

class FretboardInputAtSize : public testing::TestWithParam<SizeCase> {};

TEST_P(FretboardInputAtSize, PressesReportMarkersAndThePeg) {
    const PressCase cases[] = {
        {Centre(1, 0), Qt::LeftButton, MarkerId{1, 0}, false},
        {Centre(1, 0), Qt::RightButton, MarkerId{1, 0}, false},
        {Centre(1, 0), Qt::MiddleButton, MarkerId{1, 0}, false},
        {Centre(3, 12), Qt::LeftButton, MarkerId{3, 12}, false},
        {Centre(5, 22), Qt::RightButton, MarkerId{5, 22}, false},
        {Centre(5, 5), Qt::LeftButton, MarkerId{5, 5}, false}, // also inside the peg rectangle
        {MarkerRect(4, 13).bottomRight(), Qt::LeftButton, MarkerId{4, 13}, false},
        // Disabled fifth-string positions: nothing, unless inside the peg rectangle.
        {Centre(5, 0), Qt::LeftButton, std::nullopt, false},
        {Centre(5, 2), Qt::LeftButton, std::nullopt, false},
        {Centre(5, 3), Qt::LeftButton, std::nullopt, false},
        {QPoint(185, 71), Qt::LeftButton, std::nullopt, true}, // DOT_s05_f04 in the peg rect
        {QPoint(185, 71), Qt::RightButton, std::nullopt, false},
        // The peg below the neck.
        {QPoint(191, 100), Qt::LeftButton, std::nullopt, true},
        {QPoint(191, 100), Qt::RightButton, std::nullopt, false},
        {QPoint(191, 100), Qt::MiddleButton, std::nullopt, false},
        {QPoint(171, 100), Qt::LeftButton, std::nullopt, false}, // the peg's edge is outside
        // Between markers, elsewhere on the picture, outside it.
        {QPoint(51, 23), Qt::LeftButton, std::nullopt, false},
        {QPoint(300, 29), Qt::RightButton, std::nullopt, false},
        {QPoint(400, 110), Qt::LeftButton, std::nullopt, false},
        {QPoint(5, 5), Qt::LeftButton, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.point.x() << "," << c.point.y() << " button " << int(c.button));
        FretboardView view;
        view.resize(GetParam().size);
        QSignalSpy markers(&view, &FretboardView::markerPressed);
        QSignalSpy pegs(&view, &FretboardView::pegPressed);
        QTest::mousePress(&view, c.button, Qt::NoModifier, ViewPoint(view, c.point));
        ASSERT_EQ(markers.size(), c.marker ? 1 : 0);
        if (c.marker) {
            EXPECT_EQ(markers[0][0].toInt(), c.marker->string);
            EXPECT_EQ(markers[0][1].toInt(), c.marker->position);
            EXPECT_EQ(markers[0][2].value<Qt::MouseButton>(), c.button);
        }
        EXPECT_EQ(pegs.size(), c.peg ? 1 : 0);
    }
}

// The presses that decide most: the last pixel of a marker and the first pixel after it, at
// both ends of the neck and on the outer strings.
TEST_P(FretboardInputAtSize, MarkerEdgesStayExact) {
    FretboardView view;
    view.resize(GetParam().size);
    QSignalSpy markers(&view, &FretboardView::markerPressed);
    for (auto [string, position] : {std::pair{1, 0}, {1, 5}, {5, 5}, {3, 12}, {5, 22}}) {
        const QRect r = MarkerRect(string, position);
        for (QPoint inside : {r.topLeft(), r.bottomRight()}) {
            markers.clear();
            QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, ViewPoint(view, inside));
            ASSERT_EQ(markers.size(), 1) << string << "/" << position;
            EXPECT_EQ(markers[0][1].toInt(), position);
        }
        for (QPoint outside : {r.bottomRight() + QPoint(1, 0), r.bottomRight() + QPoint(0, 1)}) {
            markers.clear();
            QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, ViewPoint(view, outside));
            EXPECT_EQ(markers.size(), 0) << string << "/" << position;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FretboardInputAtSize,
                         testing::Values(SizeCase{"At100", {581, 127}},
                                         SizeCase{"At200", {1162, 254}},
                                         SizeCase{"At333", {1937, 424}},
                                         SizeCase{"WideView", {1500, 200}},
                                         SizeCase{"TallView", {900, 400}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FretboardInput, ReleaseOverAMarker) {
    const std::pair<QPoint, int> cases[] = {{Centre(2, 7), 1},
                                            {Centre(5, 5), 1},
                                            {Centre(5, 1), 0},
                                            {QPoint(300, 29), 0},
                                            {QPoint(191, 100), 0}};
    for (const auto& [point, expected] : cases) {
        FretboardView view;
        QSignalSpy released(&view, &FretboardView::markerReleased);
        QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, ViewPoint(view, point));
        QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, ViewPoint(view, point));
        EXPECT_EQ(released.size(), expected) << point.x() << "," << point.y();
    }
}

struct HintCase {
    QPoint point;
    bool hint;
};

TEST(FretboardInput, HintOverThePictureAndEnabledMarkersOnly) {
    const HintCase cases[] = {
        {Centre(1, 0), true},   // enabled, partly left of the picture
        {QPoint(18, 23), true}, // its left edge, outside the picture
        {Centre(5, 9), true},     {QPoint(300, 110), true}, {QPoint(191, 100), true},
        {Centre(5, 0), false},    {Centre(5, 4), false},    {QPoint(18, 70), false},
        {QPoint(20, 110), false}, // the frame
        {QPoint(5, 5), false},    {QPoint(597, 60), false},
    };
    FretboardView view;
    for (const auto& c : cases) {
        EXPECT_EQ(view.hintAt(c.point),
                  c.hint ? QStringLiteral("Left button places and removes notes. Right button "
                                          "for hammer-ons.")
                         : QString())
            << c.point.x() << "," << c.point.y();
    }
}

// Collects the status tips that reach the view's parent.
class StatusTipRecorder : public QWidget {
public:
    QStringList tips;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::StatusTip) {
            tips << static_cast<QStatusTipEvent*>(event)->tip();
            return true;
        }
        return QWidget::event(event);
    }
};

TEST(FretboardInput, StatusTipAndCursorFollowTheMouse) {
    StatusTipRecorder window;
    auto* view = new FretboardView(&window);
    view->resize(1162, 254);
    window.resize(view->size());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString hint = QString::fromLatin1(FretboardHint);

    const auto at = [&](QPoint layout) { return ViewPoint(*view, layout); };
    QTest::mouseMove(view, at(Centre(2, 3)));
    EXPECT_EQ(view->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(view->cursor().hotSpot(), PickCursorHotSpot);
    QTest::mouseMove(view, at(Centre(2, 4))); // same hint: no new tip
    QTest::mouseMove(view, at(Centre(5, 2)));
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(view, at(QPoint(300, 110)));
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(window.tips, (QStringList{hint, QString(), hint}));
}

TEST(FretboardInput, ToolTipOnlyWhereThereIsAHint) {
    FretboardView view;
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // Hiding a tip takes a while, so the point without a hint comes first.
    for (const auto& [layout, shown] : {std::pair{Centre(5, 1), false}, {Centre(1, 5), true}}) {
        const QPoint point = ViewPoint(view, layout);
        QHelpEvent help(QEvent::ToolTip, point, view.mapToGlobal(point));
        QCoreApplication::sendEvent(&view, &help);
        EXPECT_EQ(QToolTip::isVisible(), shown) << point.x() << "," << point.y();
        EXPECT_EQ(QToolTip::text(), shown ? QString::fromLatin1(FretboardHint) : QString());
    }
    QToolTip::hideText();
}

TEST(PickCursor, TipAtTheHotSpotAndTransparentCorners) {
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = PickCursorPixmap(ratio).toImage();
        EXPECT_EQ(image.size(), QSize(32, 32) * ratio);
        const auto alpha = [&](int x, int y) {
            return qAlpha(image.pixel(int(x * ratio), int(y * ratio)));
        };
        EXPECT_GT(alpha(PickCursorHotSpot.x(), PickCursorHotSpot.y()), 0);
        EXPECT_EQ(alpha(16, 16), 255);
        EXPECT_EQ(alpha(31, 0), 0);
        EXPECT_EQ(alpha(0, 31), 0);
        EXPECT_EQ(alpha(31, 31), 0);
    }
}

} // namespace
} // namespace fw
