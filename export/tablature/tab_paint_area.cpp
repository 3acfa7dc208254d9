#include "tab_paint_area.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace fw {

namespace {

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int CeilDiv(int a, int b) {
    return -FloorDiv(-a, b);
}

} // namespace

bool TabDocument::HasTruncatedMeasure() const {
    return std::any_of(measures.begin(), measures.end(), [this](const TabMeasure& measure) {
        return IsTruncated(MeasureChords(items, measure));
    });
}

// A row's drawing reaches half a number above its top line (numbers and arcs) and a line of
// text below the duration letters, 7 pixels under its bottom line.
RowRange RowsMeeting(const TabGeometry& g, int textHeight, int rows, int top, int bottom) {
    const int above = textHeight;
    const int below = g.StaffHeight + g.DurationGap + textHeight;
    RowRange range;
    range.first = std::max(0, CeilDiv(top - g.FirstStaffTop - below, g.RowHeight()));
    range.last = std::min(rows - 1, FloorDiv(bottom - g.FirstStaffTop + above, g.RowHeight()));
    return range;
}

void PaintTablature(QPainter& painter, const TabDocument& document, const QSize& size,
                    const QRect& exposed) {
    const TabGeometry g = ScreenTabGeometry(size.width());
    painter.setClipRect(exposed);
    painter.fillRect(exposed, Qt::white);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.setFont(TabNumberFont(TabDevice::Screen));
    DrawScreenTitles(painter, g, document.texts);

    const int rows = static_cast<int>((document.measures.size() + 1) / 2);
    const int textHeight =
        QFontMetrics(TabNumberFont(TabDevice::Screen, true), painter.device()).height();
    const RowRange range = RowsMeeting(g, textHeight, rows, exposed.top(), exposed.bottom());
    TabCanvas canvas(painter, g, document.options, TabDevice::Screen);
    DrawAllMeasures(canvas, document.items, document.measures, range.first, range.last);
}

TabPaintArea::TabPaintArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TabPaintArea::SetDocument(const TabDocument* document) {
    document_ = document;
    const int measures = document ? static_cast<int>(document->measures.size()) : 0;
    // A widget cannot be taller than QWIDGETSIZE_MAX (about 186,000 rows of tablature); the
    // rows of a longer song past that are printed but not shown.
    setFixedSize(ScreenPaintWidth, std::min(ScreenPaintHeight(measures), QWIDGETSIZE_MAX));
    update();
}

void TabPaintArea::paintEvent(QPaintEvent* event) {
    if (!document_)
        return;
    QPainter painter(this);
    PaintTablature(painter, *document_, size(), event->rect());
    painter.end();
    emit painted();
}

} // namespace fw
