#pragma once
// Printed tablature: the measures of the screen, two per row, nine rows to a page, each page
// headed by its number, the tuning and the titles. Works on any paged device: a printer, a
// PDF file.

#include "tab_drawing.h"

#include <QPageLayout>
#include <QRect>
#include <QSize>

#include <span>
#include <vector>

class QPagedPaintDevice;

namespace fw {

struct PrintOutcome {
    int pages = 0;
    bool truncated = false;     // a measure had more chords than tablature shows
    std::vector<int> rowStarts; // engraved: the number of each printed row's first measure
};

// Prints `measures` of `items` on `device` through `painter`, which is active on it. Engraved
// tablature (TabDrawOptions::Engraved) is laid out in EngravingDpi units on the print area's
// full width (EngravedPageGeometry) and scaled to the device. Tablature
// goes in the middle of the printable area, never nearer than 10 mm to the paper's edges (see
// TabPrintArea); the geometry follows that area (s = its height div 60). A new page is started
// when the next row would not fit, and only when there is a measure left to print.
PrintOutcome PrintTablature(QPainter& painter, QPagedPaintDevice& device,
                            std::span<const TabItem> items, std::span<const TabMeasure> measures,
                            const TabTexts& texts, const TabDrawOptions& options);

// The part of the printable area (`printable`, in device pixels at `dpi`, its top left at 0, 0)
// that tablature is printed on: the printable area narrowed by the same amount on both sides
// wherever it comes nearer than 10 mm to the paper's edge, so that it stays centred.
QRect TabPrintArea(const QPageLayout& layout, int dpi, QSize printable);

// The paper and margins of a PDF file of tablature: A4 (or US Letter), 10 mm margins.
QPageLayout PdfPageLayout(bool letter);

// The part of a page of `layout` that engraved tablature uses, in EngravingDpi units: the
// window lays out at this width in its page view, as print does.
QSize EngravedPageArea(const QPageLayout& layout);

// The head of page `page` in the print area's coordinates: the tuning at the staves' left end
// and "Page: " and the number ending at their right end, both on the area's top line, then the
// titles. `areaWidth` is the print area's width.
void PrintPageHeader(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts,
                     int page, int areaWidth);

// The title at TitleTop and the subtitle (when not blank) under it, each centred on the staves;
// one wider than the staves starts at their left end, and one that would then still pass the
// print area's right edge (`areaWidth`) is written smaller until it fits.
void PrintTitles(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts,
                 int areaWidth);

} // namespace fw
