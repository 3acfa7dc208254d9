#pragma once
// Graphic tablature: five-line staffs with fret numbers on the string lines (string 1 on top),
// hammer-on targets in an extra column joined to their start note by an arc, optional
// duration letters under the staff, two measures per row. One drawing serves the screen and
// the printer; only the geometry and the fonts differ.

#include "tab_geometry.h"

#include "export/tab_builder.h"

#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QString>

#include <span>
#include <string>
#include <vector>

class QPainter;

namespace fw {

struct TabDrawOptions {
    bool boldNumbers = false;   // fret numbers in bold
    bool showDurations = false; // a duration letter under each chord that plays
};

// The texts at the top of tablature.
struct TabTexts {
    QString tuning; // as the status bar shows it
    QString title;
    QString subtitle;
};

// Writes `text` with the top left of its line box at (x, y), as tablature places all text.
void WriteText(QPainter& painter, int x, int y, const QString& text);

// Draws measures with a painter on one device.
class TabCanvas {
public:
    // `device` picks the fonts; the painter's pen should be black and its device white.
    TabCanvas(QPainter& painter, const TabGeometry& geometry, const TabDrawOptions& options,
              TabDevice device);

    // Draws one measure `w` wide whose top string line is at y0, starting at x0: the measure
    // is divided into DrawnColumnCount + 1 equal columns, each chord stands at the next
    // column's x and a chord with hammer-ons takes one more column for its targets, so the
    // last target stays inside the measure however many chords are hammered. A rest keeps its
    // column empty. Chords after the 24th are not drawn and set truncated(). Returns the y
    // reached: y0 + 5 s when a chord was drawn, else y0.
    int DrawMeasure(std::span<const TabItem> measureChords, int w, int y0, int x0);

    // The five string lines from x0 to x0 + w and the bar lines at both ends.
    void DrawStaff(int x0, int y0, int w);

    const TabGeometry& geometry() const { return geometry_; }
    bool truncated() const { return truncated_; }

private:
    // A number of the measure being drawn: its top left and its value.
    struct PlacedNumber {
        int x;
        int lineY;
        int value;
    };
    struct PlacedLetter {
        int x;
        const std::string* text;
    };
    // The text, ink and glyphs of a fret number in the number font, measured once per canvas.
    struct NumberShape {
        QString text;
        QRect ink; // relative to the baseline at x
        QList<quint32> glyphs;
        QList<qreal> offsets; // of each glyph from x
    };
    const NumberShape& ShapeOf(int value);

    QPainter& painter_;
    TabGeometry geometry_;
    TabDrawOptions options_;
    QFont numberFont_;
    QFont letterFont_;
    int numberAscent_ = 0;
    int numberHeight_ = 0;
    int letterAscent_ = 0;
    int halfTwo_ = 0; // half the width of "2", where arcs meet their numbers
    std::vector<NumberShape> shapes_;
    // The number font at the device's pixel size: all numbers of a measure go out as one run of
    // glyphs, which costs a PDF a fraction of a text item per number.
    QRawFont numberGlyphs_;
    QList<quint32> runGlyphs_;
    QList<QPointF> runPositions_;
    // Reused between measures: what a measure draws, collected before drawing it in passes.
    std::vector<PlacedNumber> numbers_;
    std::vector<PlacedLetter> letters_;
    std::vector<QRectF> arcs_;
    bool truncated_ = false;
};

// Draws rows firstRow..lastRow (from 0, inclusive) of `measures` on the screen: the left
// measure of row r is measures[2 r], the right one measures[2 r + 1].
void DrawAllMeasures(TabCanvas& canvas, std::span<const TabItem> items,
                     std::span<const TabMeasure> measures, int firstRow, int lastRow);

// The tuning text, the title and the subtitle at the top of the screen's tablature.
void DrawScreenTitles(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts);

} // namespace fw
