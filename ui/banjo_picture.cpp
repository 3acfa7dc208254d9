#include "banjo_picture.h"

#include "banjo_art.h"

#include <QPainter>

namespace fw {

BanjoPicture::BanjoPicture(int side, QWidget* parent) : QWidget(parent) {
    setFixedSize(side, side);
}

void BanjoPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawBanjoFitted(painter, QRectF(rect()).adjusted(2, 2, -2, -2), -45);
}

} // namespace fw
