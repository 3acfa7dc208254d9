#include "tab_printing.h"

#include "chords/text_rules.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

// Home printers cannot print right up to the paper's edge; nothing goes nearer than this.
constexpr double MinEdgeMillimetres = 10.0;
// Shrinking a title that is too long for the page stops at this size.
constexpr double SmallestTitlePoints = 4.0;

int Millimetres(double mm, int dpi) {
    return static_cast<int>(std::ceil(mm * dpi / 25.4));
}

// Writes `text` at `y` in `font`: centred on the staves when it is no wider than they are,
// else from their left end, in a smaller size of the font when it would still pass the right
// edge of the print area (`areaWidth`).
void WriteFitted(QPainter& painter, const TabGeometry& g, int areaWidth, int y, QFont font,
                 const QString& text) {
    painter.setFont(font);
    int width = painter.fontMetrics().horizontalAdvance(text);
    if (width <= g.UsableWidth) {
        WriteText(painter, g.LeftMargin + (g.UsableWidth - width) / 2, y, text);
        return;
    }
    const int room = std::max(1, areaWidth - g.LeftMargin);
    if (width > room) {
        double points = font.pointSizeF() * room / width;
        for (; points > SmallestTitlePoints; points *= 0.95) {
            font.setPointSizeF(points);
            painter.setFont(font);
            width = painter.fontMetrics().horizontalAdvance(text);
            if (width <= room)
                break;
        }
    }
    WriteText(painter, g.LeftMargin, y, text);
}

} // namespace

QRect TabPrintArea(const QPageLayout& layout, int dpi, QSize printable) {
    // Margins of the printable area from the paper's edges, in device pixels.
    const QRect paper = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    const int edge = Millimetres(MinEdgeMillimetres, dpi);
    const int left = paint.left() - paper.left();
    const int top = paint.top() - paper.top();
    const int right = paper.right() - paint.right();
    const int bottom = paper.bottom() - paint.bottom();
    // Drawn in the same distance from both sides, the staves stay centred on the printable
    // area while keeping clear of the paper's edges.
    const int insetX = std::max({0, edge - left, edge - right});
    const int insetY = std::max({0, edge - top, edge - bottom});
    return QRect(insetX, insetY, std::max(1, printable.width() - 2 * insetX),
                 std::max(1, printable.height() - 2 * insetY));
}

void PrintTitles(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts,
                 int areaWidth) {
    const QFont savedFont = painter.font();
    const QFontMetrics title(TabTitleFont(), painter.device());
    WriteFitted(painter, geometry, areaWidth, geometry.TitleTop, TabTitleFont(), texts.title);
    if (!Trim(texts.subtitle.toStdString()).empty()) {
        const int y = geometry.TitleTop + title.height() + title.height() / 4;
        WriteFitted(painter, geometry, areaWidth, y, TabSubtitleFont(TabDevice::Printer),
                    texts.subtitle);
    }
    painter.setFont(savedFont);
}

void PrintPageHeader(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts,
                     int page, int areaWidth) {
    const QFont savedFont = painter.font();
    painter.setFont(TabPageNumberFont());
    const QString number = QStringLiteral("Page: %1").arg(page);
    const int right = geometry.LeftMargin + geometry.UsableWidth;
    WriteText(painter, right - painter.fontMetrics().horizontalAdvance(number), 0, number);
    WriteText(painter, geometry.LeftMargin, 0, texts.tuning);
    painter.setFont(savedFont);
    PrintTitles(painter, geometry, texts, areaWidth);
}

QPageLayout PdfPageLayout(bool letter) {
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

QSize EngravedPageArea(const QPageLayout& layout) {
    const QSize printable = layout.paintRectPixels(EngravingDpi).size();
    return TabPrintArea(layout, EngravingDpi, printable).size();
}

PrintOutcome PrintTablature(QPainter& painter, QPagedPaintDevice& device,
                            std::span<const TabItem> items, std::span<const TabMeasure> measures,
                            const TabTexts& texts, const TabDrawOptions& options) {
    const QPaintDevice& paintDevice = *painter.device();
    const QRect area = TabPrintArea(device.pageLayout(), paintDevice.logicalDpiY(),
                                    QSize(paintDevice.width(), paintDevice.height()));
    TabGeometry g = PrinterTabGeometry(area.width(), area.height());
    // The title goes below the header line however small the page's line spacing is.
    const int headerHeight = QFontMetrics(TabPageNumberFont(), &paintDevice).height();
    g.TitleTop = std::max(g.TitleTop, headerHeight + headerHeight / 4);
    // Every page is drawn in the area's own coordinates.
    const auto toArea = [&] {
        painter.resetTransform();
        painter.translate(area.topLeft());
    };
    painter.setBrush(Qt::NoBrush);
    painter.setFont(TabNumberFont(TabDevice::Printer));
    TabCanvas canvas(painter, g, options, TabDevice::Printer);

    PrintOutcome outcome;
    outcome.pages = 1;
    toArea();
    if (options.Engraved()) {
        // Laid out in EngravingDpi units, whatever the printer's resolution, so that the rows
        // break as the window shows them at the page's width.
        const double scale = paintDevice.logicalDpiX() / static_cast<double>(EngravingDpi);
        const QSize units(qRound(area.width() / scale), qRound(area.height() / scale));
        const TabGeometry e = EngravedPageGeometry(units);
        // The page head spans the staves, which use the area's full width.
        TabGeometry head = g;
        head.LeftMargin = 0;
        head.UsableWidth = area.width();
        PrintPageHeader(painter, head, texts, outcome.pages, area.width());
        TabCanvas engraved(painter, e, options);
        engraved.SetSong(items);
        const int pitch = engraved.RowPitch();
        const int firstTop = e.FirstStaffTop + engraved.RoomAbove();
        int top = firstTop;
        bool full = false;
        for (const PlacedRow& row : engraved.PlanRows(items, measures)) {
            if (full) {
                device.newPage();
                ++outcome.pages;
                toArea();
                PrintPageHeader(painter, head, texts, outcome.pages, area.width());
                top = firstTop;
            }
            toArea();
            if (scale != 1)
                painter.scale(scale, scale);
            engraved.DrawRow(items, measures, row, top);
            outcome.rowStarts.push_back(row.measureNumber);
            top += pitch;
            full = units.height() < top + pitch - e.LineSpacing;
        }
        outcome.truncated = engraved.truncated();
        return outcome;
    }
    PrintPageHeader(painter, g, texts, outcome.pages, area.width());
    if (!options.PlainRows()) {
        canvas.SetSong(items);
        const int pitch = canvas.RowPitch();
        const int firstTop = g.FirstStaffTop + canvas.RoomAbove();
        int top = firstTop;
        bool full = false;
        for (const PlacedRow& row : canvas.PlanRows(items, measures)) {
            if (full) {
                device.newPage();
                ++outcome.pages;
                toArea();
                PrintPageHeader(painter, g, texts, outcome.pages, area.width());
                top = firstTop;
            }
            canvas.DrawRow(items, measures, row, top);
            // As for the plain rows: the next row must have its staff and what stands under it.
            top += pitch;
            full = area.height() < top + pitch - g.LineSpacing;
        }
        outcome.truncated = canvas.truncated();
        return outcome;
    }
    int y = g.FirstStaffTop;
    bool right = false;
    bool pageFull = false;
    for (const TabMeasure& measure : measures) {
        if (pageFull) {
            device.newPage();
            ++outcome.pages;
            toArea();
            PrintPageHeader(painter, g, texts, outcome.pages, area.width());
            y = g.FirstStaffTop;
            pageFull = false;
        }
        canvas.DrawMeasure(MeasureChords(items, measure), g.MeasureWidth(), y,
                           g.MeasureLeft(right));
        if (right) {
            // The row takes its staff and the duration letters under it whether or not a
            // chord was drawn: a row of rests must not let the next row run off the page.
            const int rowBottom = y + 5 * g.LineSpacing;
            y += g.RowHeight();
            pageFull = area.height() < rowBottom + g.RowHeight();
        }
        right = !right;
    }
    outcome.truncated = canvas.truncated();
    return outcome;
}

} // namespace fw
