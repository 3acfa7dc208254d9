#include "tab_paint_area.h"

#include <QImage>
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
        return IsTruncated(MeasureChords(items, measure), options.forms.bars);
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

    const int textHeight =
        QFontMetrics(TabNumberFont(TabDevice::Screen, true), painter.device()).height();
    TabCanvas canvas(painter, g, document.options, TabDevice::Screen);
    if (document.options.PlainRows()) {
        const int rows = static_cast<int>((document.measures.size() + 1) / 2);
        const RowRange range = RowsMeeting(g, textHeight, rows, exposed.top(), exposed.bottom());
        DrawAllMeasures(canvas, document.items, document.measures, range.first, range.last);
        return;
    }
    canvas.SetSong(document.items);
    const std::vector<PlacedRow> rows = canvas.PlanRows(document.items, document.measures);
    const int pitch = canvas.RowPitch();
    const int firstTop = g.FirstStaffTop + canvas.RoomAbove();
    // A row reaches a row's pitch above its top line at most, and its pitch below.
    const int first = std::max(0, (exposed.top() - firstTop) / pitch - 1);
    for (int r = first; r < static_cast<int>(rows.size()); ++r) {
        const int top = firstTop + r * pitch;
        if (top - pitch > exposed.bottom())
            break;
        canvas.DrawRow(document.items, document.measures, rows[static_cast<std::size_t>(r)], top);
    }
}

int PaintHeight(const TabDocument& document) {
    if (document.options.PlainRows())
        return ScreenPaintHeight(static_cast<int>(document.measures.size()));
    // The rows are planned with the screen's fonts on an image of the screen's resolution.
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    const TabGeometry g = ScreenTabGeometry();
    TabCanvas canvas(painter, g, document.options, TabDevice::Screen);
    const long long rows =
        static_cast<long long>(canvas.PlanRows(document.items, document.measures).size());
    const long long height = g.FirstStaffTop + canvas.RoomAbove() + rows * canvas.RowPitch();
    return static_cast<int>(std::min<long long>(height, QWIDGETSIZE_MAX));
}

TabPaintArea::TabPaintArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TabPaintArea::SetDocument(const TabDocument* document) {
    document_ = document;
    // A widget cannot be taller than QWIDGETSIZE_MAX (about 186,000 rows of tablature); the
    // rows of a longer song past that are printed but not shown.
    setFixedSize(ScreenPaintWidth, document ? std::min(PaintHeight(*document), QWIDGETSIZE_MAX)
                                            : std::min(ScreenPaintHeight(0), QWIDGETSIZE_MAX));
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
