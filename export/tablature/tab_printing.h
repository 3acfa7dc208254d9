#pragma once
// Printed tablature: the measures of the screen, two per row, nine rows to a page, each page
// headed by its number, the tuning and the titles. Works on any paged device: a printer, a
// PDF file.

#include "tab_drawing.h"

#include <span>

class QPagedPaintDevice;

namespace fw {

struct PrintOutcome {
    int pages = 0;
    bool truncated = false; // a measure had more chords than tablature shows
};

// Prints `measures` of `items` on `device` through `painter`, which is active on it. The
// geometry follows the device's page (s = page height div 60); a new page is started when the
// next row would not fit, and only when there is a measure left to print.
PrintOutcome PrintTablature(QPainter& painter, QPagedPaintDevice& device,
                            std::span<const TabItem> items, std::span<const TabMeasure> measures,
                            const TabTexts& texts, const TabDrawOptions& options);

// The head of page `page`: "Page: " and the number at x `pageX`, the tuning at the left edge,
// then the titles.
void PrintPageHeader(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts,
                     int page, int pageX);

// The title centred at TitleTop, the subtitle (when not blank) under it.
void PrintTitles(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts);

} // namespace fw
