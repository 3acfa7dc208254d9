#include "editor/fretboard_geometry.h"
#include "editor/neck_picture.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>

namespace fw {
namespace {

// Pixel classes of the picture.
bool IsMetalOrBone(const QColor& c) {
    return c.lightness() > 150;
}
bool IsWood(const QColor& c) {
    return c.red() > c.blue() + 8 && c.lightness() < 90;
}
bool IsBackground(const QColor& c) {
    return c.lightness() < 50 && std::abs(c.red() - c.blue()) < 10;
}

class NeckPicture : public testing::Test {
protected:
    void SetUp() override {
        image_ = RenderNeckPicture(1.0).toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Client coordinates in, picture pixel out.
    QColor at(qreal clientX, qreal clientY) const {
        return image_.pixelColor(int(std::floor(clientX)) - PictureRect.left(),
                                 int(std::floor(clientY)) - PictureRect.top());
    }
    static qreal columnCentre(int position) {
        return MarkerColumnLeft(position) + MarkerColumnWidth(position) / 2.0;
    }
    QImage image_;
};

TEST_F(NeckPicture, HasThePictureSizeAtAnyScale) {
    EXPECT_EQ(image_.size(), QSize(576, 123));
    const QPixmap sharp = RenderNeckPicture(2.0);
    EXPECT_EQ(sharp.size(), QSize(1152, 246));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(576, 123));
}

TEST_F(NeckPicture, FretWiresLieBetweenTheMarkerColumns) {
    const qreal gapY = MarkerRect(1, 0).bottom() + 1; // the pixel row between strings 1 and 2
    for (int position = 1; position <= MaxFret; ++position) { // the nut is under position 0
        EXPECT_TRUE(IsMetalOrBone(at(FretWireX(position), gapY))) << "wire " << position;
        if (position > 0 && position != 12) { // 12 has an inlay dot here
            EXPECT_TRUE(IsWood(at(columnCentre(position), gapY))) << "space " << position;
        }
    }
}

TEST_F(NeckPicture, StringsRunAlongTheMarkerRows) {
    for (int string = 1; string <= 5; ++string) {
        // The fret spaces without inlays.
        for (int position : {6, 8, 9, 11, 13, 14, 16, 18, 20, 21}) {
            const qreal x = columnCentre(position);
            EXPECT_GT(at(x, StringCentreY(string)).lightness(), 110)
                << "string " << string << " position " << position;
            EXPECT_LT(at(x, StringCentreY(string) + 4).lightness(), 90)
                << "string " << string << " position " << position;
        }
    }
}

TEST_F(NeckPicture, FifthStringStartsAtTheFifthFretWhereTheNeckWidens) {
    const qreal y5 = StringCentreY(5);
    for (int position = 1; position < 4; ++position) { // 0 lies on the headstock
        EXPECT_TRUE(IsBackground(at(columnCentre(position), y5))) << position;
        EXPECT_TRUE(IsWood(at(columnCentre(position), StringCentreY(4) + 4))) << position;
    }
    for (int position = 6; position <= MaxFret; ++position)
        EXPECT_TRUE(IsWood(at(columnCentre(position), y5 + 4))) << position;
}

TEST_F(NeckPicture, NutAndFifthPegWhereThePressesGo) {
    EXPECT_TRUE(IsMetalOrBone(at(columnCentre(0), StringCentreY(2) + 6)));
    // Centre of the peg rectangle, and just outside it to the left.
    EXPECT_TRUE(IsMetalOrBone(at(PictureRect.left() + 170, PictureRect.top() + 100)));
    EXPECT_TRUE(IsBackground(at(PictureRect.left() + 140, PictureRect.top() + 100)));
}

// An open string is played at the nut: both nuts lie under their open-string markers (position
// 0, and position 5 for the fifth string) at every scale, and the space to the right of the
// markers is the first fret's wood.
TEST(NeckPictureScales, TheNutsLieUnderTheOpenStringMarkers) {
    for (const qreal scale : {1.0, 1.5, 2.0}) {
        const QImage image =
            RenderNeckPicture(scale).toImage().convertToFormat(QImage::Format_RGB32);
        const auto at = [&](qreal x, qreal y) {
            return image.pixelColor(int((x - PictureRect.left()) * scale),
                                    int((y - PictureRect.top()) * scale));
        };
        const qreal gapY = MarkerRect(1, 0).bottom() + 1; // between strings 1 and 2
        const QRectF open = MarkerShapeRect(MarkerRect(1, 0), ShapeCircle);
        EXPECT_TRUE(IsMetalOrBone(at(open.center().x(), gapY))) << scale;
        EXPECT_TRUE(IsWood(at(FretWireX(0), gapY))) << scale;
        const QRectF fifth = MarkerShapeRect(MarkerRect(5, FifthStringShift), ShapeCircle);
        EXPECT_TRUE(IsMetalOrBone(at(fifth.center().x(), StringCentreY(5) - 2))) << scale;
    }
}

// Every tuning peg of the headstock shows whole: its pearl button lies inside the picture and
// is drawn there, bright against the dark background.
TEST_F(NeckPicture, EveryHeadstockPegShowsWhole) {
    const QRectF picture(QPointF(0, 0), QSizeF(PictureRect.size()));
    const auto buttons = HeadstockPegButtons();
    for (int string = 1; string <= 4; ++string) {
        const QRectF button = buttons[std::size_t(string)];
        EXPECT_TRUE(picture.contains(button)) << "string " << string << " peg is cut off";
        const QPointF centre = button.center() + QPointF(PictureRect.left(), PictureRect.top());
        EXPECT_TRUE(IsMetalOrBone(at(centre.x(), centre.y()))) << "string " << string;
    }
}

} // namespace
} // namespace fw
