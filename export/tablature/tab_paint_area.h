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

// The paint area's height for `document`: as ScreenPaintHeight for the plain drawing, else the
// rows its forms plan (at most the tallest a widget can be).
int PaintHeight(const TabDocument& document);

// The rows (from 0) whose drawing may reach into the band of y from `top` to `bottom`;
// first > last when none does.
struct RowRange {
    int first = 0;
    int last = -1;
};
RowRange RowsMeeting(const TabGeometry& geometry, int textHeight, int rows, int top, int bottom);

class TabPaintArea : public QWidget {
    Q_OBJECT
public:
    explicit TabPaintArea(QWidget* parent = nullptr);

    // Shows `document` and takes the screen's size for it: 593 wide, 90 pixels per row of two
    // measures plus 80, at most the tallest a widget can be.
    void SetDocument(const TabDocument* document);

signals:
    // Emitted after every paint.
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TabDocument* document_ = nullptr;
};

} // namespace fw
