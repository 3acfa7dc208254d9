#include "tab_printing.h"

#include "chords/text_rules.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace fw {

void PrintTitles(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts) {
    const QFont savedFont = painter.font();
    const int centre = (geometry.UsableWidth + geometry.LeftMargin) / 2;
    painter.setFont(TabTitleFont());
    const QFontMetrics title = painter.fontMetrics();
    WriteText(painter, centre - title.horizontalAdvance(texts.title) / 2, geometry.TitleTop,
              texts.title);
    if (!Trim(texts.subtitle.toStdString()).empty()) {
        const int y = geometry.TitleTop + title.height() + title.height() / 4;
        painter.setFont(TabSubtitleFont(TabDevice::Printer));
        const int width = painter.fontMetrics().horizontalAdvance(texts.subtitle);
        WriteText(painter, centre - width / 2, y, texts.subtitle);
    }
    painter.setFont(savedFont);
}

void PrintPageHeader(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts,
                     int page, int pageX) {
    const QFont savedFont = painter.font();
    painter.setFont(TabPageNumberFont());
    WriteText(painter, pageX, 0, QStringLiteral("Page: %1").arg(page));
    WriteText(painter, 0, 0, texts.tuning);
    painter.setFont(savedFont);
    PrintTitles(painter, geometry, texts);
}

PrintOutcome PrintTablature(QPainter& painter, QPagedPaintDevice& device,
                            std::span<const TabItem> items, std::span<const TabMeasure> measures,
                            const TabTexts& texts, const TabDrawOptions& options) {
    const TabGeometry g = PrinterTabGeometry(painter.device()->width(), painter.device()->height());
    const int pageHeight = painter.device()->height();
    painter.setBrush(Qt::NoBrush);
    painter.setFont(TabNumberFont(TabDevice::Printer));
    const int pageX =
        g.UsableWidth - 2 * painter.fontMetrics().horizontalAdvance(QStringLiteral("Page: 1"));
    TabCanvas canvas(painter, g, options, TabDevice::Printer);

    PrintOutcome outcome;
    outcome.pages = 1;
    PrintPageHeader(painter, g, texts, outcome.pages, pageX);
    int y = g.FirstStaffTop;
    bool right = false;
    bool pageFull = false;
    for (const TabMeasure& measure : measures) {
        if (pageFull) {
            device.newPage();
            ++outcome.pages;
            PrintPageHeader(painter, g, texts, outcome.pages, pageX);
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
            pageFull = pageHeight < rowBottom + g.RowHeight();
        }
        right = !right;
    }
    outcome.truncated = canvas.truncated();
    return outcome;
}

} // namespace fw
