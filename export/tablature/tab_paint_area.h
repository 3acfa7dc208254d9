#pragma once
// The paint area of graphic tablature (PaintBox1): a white page with a black frame, the titles
// at the top and two measures per row. It paints only the rows that meet the exposed part, so
// a song of any length scrolls smoothly.

#include "tab_drawing.h"

#include <QWidget>

#include <vector>

namespace fw {

// What the tablature window shows: the items of the chord list and its measures.
struct TabDocument {
    std::vector<TabItem> items;
    std::vector<TabMeasure> measures; // the measures with at least one chord
    TabTexts texts;
    TabDrawOptions options;

    // True when a measure holds more chords than tablature shows.
    bool HasTruncatedMeasure() const;
};

// Paints `document` on the screen for the part `exposed` of a paint area `size` big: the page
// and frame, the titles, and the rows that meet `exposed`. Painting a page in pieces gives the
// same picture as painting it whole.
void PaintTablature(QPainter& painter, const TabDocument& document, const QSize& size,
                    const QRect& exposed);

// The paint area's height for `document`: as ScreenPaintHeight for the plain drawing; engraved,
// as the default view shows it on a screen of ScreenDpi; else the rows its forms plan (at most
// the tallest a widget can be).
int PaintHeight(const TabDocument& document);

// The rows (from 0) whose drawing may reach into the band of y from `top` to `bottom`;
// first > last when none does.
struct RowRange {
    int first = 0;
    int last = -1;
};
RowRange RowsMeeting(const TabGeometry& geometry, int textHeight, int rows, int top, int bottom);

// How the window shows engraved tablature: its zoom, and whether it lays out at the printed
// page's width (the PDF's rows) or at the window's.
struct TabView {
    double zoom = 1;                    // 1: the printed size on a screen of its logical resolution
    bool pageView = false;              // lay out at the page's width
    int windowWidth = ScreenPaintWidth; // the width to lay out at otherwise, in screen pixels
};

// Engraved tablature on the screen: where its rows stand, in EngravingDpi units, and the scale
// that maps them to screen pixels at `dpi`. The same canvas and the same geometry as print at
// the page's width, so the rows break where the PDF's do.
struct EngravedScreen {
    TabGeometry geometry; // in EngravingDpi units, left margin included
    double scale = 1;     // screen pixels per unit
    int margin = 0;       // white around the page, in units
};
EngravedScreen EngravedScreenOf(const TabView& view, int dpi);
// The paint area's size for engraved `document` in `view`.
QSize EngravedPaintSize(const TabDocument& document, const TabView& view, int dpi);
// The logical resolution of a screen, which the window's default view assumes.
inline constexpr int ScreenDpi = 96;
// The rows of `document` as the window shows them in `view`.
std::vector<PlacedRow> EngravedScreenRows(const TabDocument& document, const TabView& view,
                                          int dpi);

class TabPaintArea : public QWidget {
    Q_OBJECT
public:
    explicit TabPaintArea(QWidget* parent = nullptr);

    // Shows `document` and takes the screen's size for it: 593 wide, 90 pixels per row of two
    // measures plus 80, at most the tallest a widget can be.
    void SetDocument(const TabDocument* document);
    // Shows engraved tablature (and the plain drawing, scaled by the zoom) as `view` says.
    void SetView(const TabView& view);
    const TabView& view() const { return view_; }

signals:
    // Emitted after every paint.
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Resize();
    const TabDocument* document_ = nullptr;
    TabView view_;
};

} // namespace fw
