#include "banjo_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace fw {

namespace {

// The banjo is drawn in units of the pot radius: pot centre at (0, 0), neck along +x, string 1
// on the -y side. These are the landmarks along the neck.
constexpr double NutX = 3.55;
constexpr double BridgeX = 0.205;
constexpr double HeadRadius = 0.86;
constexpr double TailX = -0.55;
constexpr QRectF UnitBounds{-1.05, -1.05, 5.45, 2.1};

// Distance of fret n from the nut along a scale of `scale` units.
double FretDistance(int n, double scale) {
    return scale * (1.0 - std::pow(2.0, -n / 12.0));
}

double FretX(int n) {
    return NutX - FretDistance(n, NutX - BridgeX);
}

QPen Outline(const QColor& color, double width) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void DrawPot(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(QPointF(0.05, 0.07), 1.0, 1.0);

    QLinearGradient wood(QPointF(-1, -1), QPointF(1, 1));
    wood.setColorAt(0, QColor(0xB7, 0x78, 0x3A));
    wood.setColorAt(1, QColor(0x6B, 0x3E, 0x17));
    p.setBrush(wood);
    p.setPen(Outline(QColor(0x3A, 0x22, 0x0C), 0.02));
    p.drawEllipse(QPointF(0, 0), 1.0, 1.0);

    p.setPen(Outline(QColor(0xD6, 0xD6, 0xD6), 0.035));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 0.895, 0.895);

    p.setPen(Outline(QColor(0x55, 0x55, 0x55), 0.006));
    p.setBrush(QColor(0xE4, 0xE4, 0xE4));
    constexpr int Hooks = 20;
    for (int i = 0; i < Hooks; ++i) {
        const double a = 2 * std::numbers::pi * (i + 0.5) / Hooks;
        p.drawEllipse(QPointF(0.95 * std::cos(a), 0.95 * std::sin(a)), 0.028, 0.028);
    }

    QRadialGradient head(QPointF(-0.2, -0.25), 1.1);
    head.setColorAt(0, QColor(0xFD, 0xF9, 0xEF));
    head.setColorAt(1, QColor(0xDD, 0xCD, 0xAE));
    p.setPen(Outline(QColor(0xB9, 0xA5, 0x80), 0.01));
    p.setBrush(head);
    p.drawEllipse(QPointF(0, 0), HeadRadius, HeadRadius);
}

void DrawNeck(QPainter& p) {
    const double start = 0.8;
    QPolygonF neck({{start, -0.185}, {NutX, -0.155}, {NutX, 0.155}, {start, 0.185}});
    p.setPen(Outline(QColor(0x2A, 0x18, 0x0B), 0.012));
    p.setBrush(QColor(0x6B, 0x44, 0x23));
    p.drawPolygon(neck);
    QPolygonF board({{start, -0.165}, {NutX, -0.135}, {NutX, 0.135}, {start, 0.165}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2A, 0x1B, 0x12));
    p.drawPolygon(board);

    p.setPen(Outline(QColor(0xD8, 0xD8, 0xD8), 0.012));
    for (int n = 1; n <= 22; ++n) {
        const double x = FretX(n);
        if (x < HeadRadius + 0.05)
            break;
        const double half = 0.135 + 0.03 * (NutX - x) / (NutX - start);
        p.drawLine(QPointF(x, -half), QPointF(x, half));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xEF, 0xE8, 0xDA));
    for (int n : {3, 5, 7, 10, 15, 17}) {
        const double x = (FretX(n) + FretX(n - 1)) / 2;
        p.drawEllipse(QPointF(x, 0), 0.035, 0.035);
    }
    const double twelfth = (FretX(12) + FretX(11)) / 2;
    p.drawEllipse(QPointF(twelfth, -0.07), 0.03, 0.03);
    p.drawEllipse(QPointF(twelfth, 0.07), 0.03, 0.03);

    p.setBrush(QColor(0xF2, 0xEA, 0xD6));
    p.drawRect(QRectF(NutX - 0.03, -0.155, 0.05, 0.31));
}

void DrawPeg(QPainter& p, QPointF shaftFrom, QPointF button) {
    p.setPen(Outline(QColor(0xB0, 0xB0, 0xB0), 0.035));
    p.drawLine(shaftFrom, button);
    p.setPen(Outline(QColor(0x6E, 0x63, 0x50), 0.01));
    p.setBrush(QColor(0xF1, 0xE9, 0xD4));
    p.drawEllipse(button, 0.075, 0.055);
}

void DrawPeghead(QPainter& p) {
    QPainterPath head;
    head.moveTo(NutX, -0.155);
    head.cubicTo(NutX + 0.15, -0.2, NutX + 0.3, -0.29, NutX + 0.6, -0.27);
    head.cubicTo(NutX + 0.78, -0.25, NutX + 0.8, -0.05, NutX + 0.74, 0);
    head.cubicTo(NutX + 0.8, 0.05, NutX + 0.78, 0.25, NutX + 0.6, 0.27);
    head.cubicTo(NutX + 0.3, 0.29, NutX + 0.15, 0.2, NutX, 0.155);
    head.closeSubpath();
    for (double x : {NutX + 0.22, NutX + 0.52})
        for (double y : {-1.0, 1.0})
            DrawPeg(p, QPointF(x, 0.15 * y), QPointF(x, 0.36 * y));
    QLinearGradient wood(QPointF(NutX, -0.3), QPointF(NutX + 0.8, 0.3));
    wood.setColorAt(0, QColor(0x5A, 0x36, 0x1A));
    wood.setColorAt(1, QColor(0x35, 0x1F, 0x0E));
    p.setPen(Outline(QColor(0x22, 0x12, 0x06), 0.012));
    p.setBrush(wood);
    p.drawPath(head);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE6, 0xD2, 0xA0));
    p.drawEllipse(QPointF(NutX + 0.42, 0), 0.07, 0.045);
}

void DrawStrings(QPainter& p) {
    // Strings 1 to 4 run from the tailpiece over the bridge to the nut.
    constexpr std::array<double, 4> AtBridge = {-0.15, -0.075, 0.0, 0.075};
    constexpr std::array<double, 4> AtNut = {-0.1, -0.035, 0.03, 0.095};
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(QColor(0xA8, 0xA8, 0xA8), 0.011));
    for (std::size_t s = 0; s < AtBridge.size(); ++s)
        p.drawPolyline(
            QPolygonF({{TailX, AtBridge[s] * 0.45}, {BridgeX, AtBridge[s]}, {NutX, AtNut[s]}}));
    // The short fifth string ends at its own peg by the fifth fret.
    const double fifth = FretX(5);
    p.drawPolyline(QPolygonF({{TailX, 0.07}, {BridgeX, 0.15}, {fifth, 0.13}}));
    DrawPeg(p, QPointF(fifth, 0.16), QPointF(fifth, 0.3));
}

void DrawTailpieceAndBridge(QPainter& p) {
    QLinearGradient metal(QPointF(0, -0.1), QPointF(0, 0.1));
    metal.setColorAt(0, QColor(0xF0, 0xF0, 0xF0));
    metal.setColorAt(1, QColor(0x9A, 0x9A, 0x9A));
    p.setPen(Outline(QColor(0x50, 0x50, 0x50), 0.008));
    p.setBrush(metal);
    p.drawPolygon(QPolygonF({{-0.93, -0.075}, {TailX, -0.05}, {TailX, 0.07}, {-0.93, 0.085}}));
    p.setPen(Outline(QColor(0x5A, 0x3B, 0x14), 0.008));
    p.setBrush(QColor(0xD9, 0xB3, 0x7A));
    p.drawRect(QRectF(BridgeX - 0.025, -0.2, 0.05, 0.4));
}

QFont TitleFont(double pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("serif")});
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(true);
    return font;
}

QFont PlainFont(double pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("sans-serif")});
    font.setPixelSize(static_cast<int>(pixelSize));
    return font;
}

} // namespace

void DrawBanjo(QPainter& painter, QPointF potCentre, double potRadius, double angleDegrees) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(potCentre);
    painter.rotate(angleDegrees);
    painter.scale(potRadius, potRadius);
    DrawNeck(painter);
    DrawPeghead(painter);
    DrawPot(painter);
    DrawTailpieceAndBridge(painter);
    DrawStrings(painter);
    painter.restore();
}

void DrawBanjoFitted(QPainter& painter, const QRectF& box, double angleDegrees) {
    QTransform turn;
    turn.rotate(angleDegrees);
    const QRectF turned = turn.mapRect(UnitBounds);
    const double scale = std::min(box.width() / turned.width(), box.height() / turned.height());
    const QPointF centre = box.center() - (turned.center() * scale);
    DrawBanjo(painter, centre, scale, angleDegrees);
}

void DrawTitleCard(QPainter& painter, const QRectF& rect, const QString& version) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient background(rect.topLeft(), rect.bottomRight());
    background.setColorAt(0, QColor(0x3A, 0x22, 0x13));
    background.setColorAt(1, QColor(0x14, 0x0B, 0x06));
    painter.fillRect(rect, background);
    const QPointF pot(rect.left() + 0.17 * rect.width(), rect.top() + 0.69 * rect.height());
    QRadialGradient glow(pot, rect.height() * 0.75);
    glow.setColorAt(0, QColor(0xFF, 0xC8, 0x70, 70));
    glow.setColorAt(1, QColor(0xFF, 0xC8, 0x70, 0));
    painter.fillRect(rect, glow);

    painter.setClipRect(rect);
    DrawBanjo(painter, pot, rect.height() * 0.265, -30);
    painter.setClipping(false);

    const double h = rect.height();
    const QRectF textArea(rect.left() + rect.width() * 0.45, rect.top() + h * 0.42,
                          rect.width() * 0.51, h * 0.5);
    painter.setPen(QColor(0xF6, 0xE6, 0xBE));
    painter.setFont(TitleFont(h * 0.22));
    const QRectF titleBox(textArea.left(), textArea.top(), textArea.width(), h * 0.26);
    painter.drawText(titleBox, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Fretwick"));
    painter.setPen(QColor(0xD9, 0xC2, 0x8C));
    painter.setFont(PlainFont(h * 0.05));
    const QRectF tagBox(textArea.left(), titleBox.bottom(), textArea.width(), h * 0.14);
    painter.drawText(
        tagBox, Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap,
        QStringLiteral("Chord lists, tablature and playback\nfor the five-string banjo"));
    painter.setPen(QColor(0xB8, 0xA0, 0x70));
    painter.setFont(PlainFont(h * 0.045));
    painter.drawText(QRectF(textArea.left(), rect.bottom() - h * 0.13, textArea.width(), h * 0.08),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Version ") + version);

    painter.setPen(QPen(QColor(0xC8, 0xA4, 0x5A, 150), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(6.5, 6.5, -6.5, -6.5));
    painter.restore();
}

} // namespace fw
