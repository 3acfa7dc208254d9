#include "editor/fretboard_view.h"
#include "editor/pick_cursor.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolTip>

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

TEST(FretboardInput, PressesReportMarkersAndThePeg) {
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
        QSignalSpy markers(&view, &FretboardView::markerPressed);
        QSignalSpy pegs(&view, &FretboardView::pegPressed);
        QTest::mousePress(&view, c.button, Qt::NoModifier, c.point);
        ASSERT_EQ(markers.size(), c.marker ? 1 : 0);
        if (c.marker) {
            EXPECT_EQ(markers[0][0].toInt(), c.marker->string);
            EXPECT_EQ(markers[0][1].toInt(), c.marker->position);
            EXPECT_EQ(markers[0][2].value<Qt::MouseButton>(), c.button);
        }
        EXPECT_EQ(pegs.size(), c.peg ? 1 : 0);
    }
}

TEST(FretboardInput, ReleaseOverAMarker) {
    const std::pair<QPoint, int> cases[] = {{Centre(2, 7), 1},
                                            {Centre(5, 5), 1},
                                            {Centre(5, 1), 0},
                                            {QPoint(300, 29), 0},
                                            {QPoint(191, 100), 0}};
    for (const auto& [point, expected] : cases) {
        FretboardView view;
        QSignalSpy released(&view, &FretboardView::markerReleased);
        QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, point);
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
    window.resize(view->size());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString hint = QString::fromLatin1(FretboardHint);

    QTest::mouseMove(view, Centre(2, 3));
    EXPECT_EQ(view->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(view->cursor().hotSpot(), PickCursorHotSpot);
    QTest::mouseMove(view, Centre(2, 4)); // same hint: no new tip
    QTest::mouseMove(view, Centre(5, 2));
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(view, QPoint(300, 110));
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(window.tips, (QStringList{hint, QString(), hint}));
}

TEST(FretboardInput, ToolTipOnlyWhereThereIsAHint) {
    FretboardView view;
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // Hiding a tip takes a while, so the point without a hint comes first.
    for (const auto& [point, shown] : {std::pair{Centre(5, 1), false}, {Centre(1, 5), true}}) {
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
