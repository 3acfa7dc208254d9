#pragma once
// Graphic tablature: five-line staffs with fret numbers on the string lines (string 1 on top),
// hammer-on targets in an extra column joined to their start note by an arc, optional
// duration letters under the staff, two measures per row. One drawing serves the screen and
// the printer; only the geometry and the fonts differ.

#include "tab_geometry.h"

#include "export/tab_marks.h"

#include "chords/tuning.h"
#include "export/rhythm_layout.h"
#include "export/tab_builder.h"
#include "export/tab_rows.h"
#include "export/tab_spacing.h"

#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QString>

#include <optional>
#include <span>
#include <string>
#include <vector>

class QPainter;

namespace fw {

struct TabDrawOptions {
    TabDrawOptions() = default;
    TabDrawOptions(bool bold, bool durations) : boldNumbers(bold), showDurations(durations) {}

    bool boldNumbers = false;             // fret numbers in bold
    bool showDurations = false;           // a duration letter under each chord that plays
    TabOptions forms;                     // stems, bars from the meter, neck frets, h/p, names
    Meter meter;                          // of the song: beams and bars from the meter
    int tuningCode = ReferenceTuningCode; // names the strings

    bool Stems() const { return forms.rhythm == TabRhythm::Stems; }
    // Duration letters under the staff: the plain setting, or the letters form.
    bool Letters() const {
        return !Stems() && (showDurations || forms.rhythm == TabRhythm::Letters);
    }
    // True when the drawing is the plain one: two measures of equal columns to a row, nothing
    // above the staff or before it. Then every row stands where it always has.
    bool PlainRows() const {
        return !Stems() && forms.bars == TabBars::BlankLines && !forms.chordNames &&
               !forms.stringNames;
    }
    // True when tablature is set as engravers set it: with stems or with bars from the meter.
    // Columns then follow duration (SpacingRules), rows hold as many measures as fit, numbers
    // stand centred on their columns, and the signs of the meter and the song's end are drawn.
    bool Engraved() const { return Stems() || forms.bars == TabBars::Meter; }
};

// Engraved tablature is laid out in units of this many to the inch whatever it is drawn on, so
// that the window at page width breaks rows exactly where print does.
inline constexpr int EngravingDpi = EngravingUnitsPerInch;

// Where the measures of one row stand, from the left of the device.
struct PlacedMeasure {
    std::size_t measure = 0; // index into the measures drawn
    int x = 0;
    int width = 0;
    // Engraved: where each chord's numbers (centred) and stem stand, and its hammer-on targets
    // (-1: none), from the device's left. Empty in the other layouts.
    std::vector<int> columnX;
    std::vector<int> targetX;
};
struct PlacedRow {
    std::vector<PlacedMeasure> measures;
    int measureNumber = 1; // of its first measure
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
    // Engraved tablature: `geometry` is in units of EngravingDpi to the inch, and the painter
    // maps them to its device (scaled by the caller). Text is measured on a reference device of
    // that resolution, so the layout is the same on every device.
    TabCanvas(QPainter& painter, const TabGeometry& geometry, const TabDrawOptions& options);

    // Draws one measure `w` wide whose top string line is at y0, starting at x0: the measure
    // is divided into DrawnColumnCount + 1 equal columns, each chord stands at the next
    // column's x and a chord with hammer-ons takes one more column for its targets, so the
    // last target stays inside the measure however many chords are hammered. A rest keeps its
    // column empty. Chords after the 24th are not drawn and set truncated(). Returns the y
    // reached: y0 + 5 s when a chord was drawn, else y0. With stems the columns are spaced by
    // duration instead (LayoutRhythm stretched to w) with the numbers centred on them; measures
    // cut by the meter are never truncated. The 5th string is numbered as the options say.
    int DrawMeasure(std::span<const TabItem> measureChords, int w, int y0, int x0);

    // Tells the canvas the whole song, so that chord names above the staff show where the chord
    // changes however little of the song is drawn. Call before drawing with chord names.
    void SetSong(std::span<const TabItem> items);

    // The rows the measures stand in: two to a row in the plain drawing; engraved, as
    // LayOutRows places them with the ink this canvas measures (EngravedRows); else as many as
    // fit columns no narrower than a two-digit number, stretched to fill the row. The staves
    // start after the string names.
    std::vector<PlacedRow> PlanRows(std::span<const TabItem> items,
                                    std::span<const TabMeasure> measures);
    // Draws one planned row whose top string line is at y0: the string names, the measure
    // number and the measures.
    void DrawRow(std::span<const TabItem> items, std::span<const TabMeasure> measures,
                 const PlacedRow& row, int y0);
    // How far apart rows stand, and the room above the first row's top line beyond the plain
    // drawing's (for chord names and measure numbers).
    int RowPitch() const;
    int RoomAbove() const;

    // The five string lines from x0 to x0 + w and the bar lines at both ends.
    void DrawStaff(int x0, int y0, int w);

    const TabGeometry& geometry() const { return geometry_; }
    bool truncated() const { return truncated_; }

private:
    // Engraved: the spacing's view of each measure, and the rows it lays them out in.
    std::vector<PlacedRow> EngravedRows(std::span<const TabItem> items,
                                        std::span<const TabMeasure> measures, int left,
                                        int rowWidth);
    SpacedMeasure SpacedOf(std::span<const TabItem> measureChords, bool first, bool last) const;
    SpacingRules Rules() const;
    // Draws one engraved measure at its placed columns.
    void DrawEngravedMeasure(std::span<const TabItem> measureChords, const PlacedMeasure& placed,
                             int y0, bool first, bool last);
    // The time signature `meter` after the bar line at `x`; its width.
    void DrawTimeSignature(const Meter& meter, int x, int y0);
    int TimeSignatureWidth(const Meter& meter) const;
    // The meter a measure opens with a time signature of, if any: the song's at the first
    // measure, else a change written above its first chord.
    // True when an ending's bracket runs over `chord` (once SetSong has run).
    bool InEnding(const TabItem& chord) const;
    std::optional<Meter> OpeningMeter(std::span<const TabItem> measureChords, bool first) const;
    // Repeat signs, ending brackets and triplet numbers of one measure.
    void DrawStructure(std::span<const TabItem> measureChords, const PlacedMeasure& placed, int y0);
    // Draws what DrawMeasure and DrawEngravedMeasure have placed, staff first.
    void PaintPlaced(int x0, int y0, int w, const RhythmMeasure* rhythm);
    QFont Sized(QFont font) const;
    // Engraved with h and p: the room their letters take above the top string's arcs.
    int MarkRoom() const;
    int TextWidth(const QFont& font, const QString& text) const;

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
    // The narrowest column: a two-digit number and a gap on either side.
    double MinColumnWidth() const;
    RhythmSpacing Spacing() const;
    // The width a measure needs so that no two numbers touch.
    double NaturalWidth(std::span<const TabItem> measureChords) const;
    // Stems, flags, beams, dots and rests of a laid-out measure.
    void DrawRhythm(const RhythmMeasure& layout, int y0, int x0);
    void DrawRest(const RhythmValue& value, int x, int top, int bottom);
    // The label above `chord` (the empty text when none), once SetSong has run.
    QString ChordLabel(const TabItem& chord) const;
    // Puts the numbers of one chord (and its hammer-on targets) into the passes: at `x`, or
    // centred on it when `centred`; targets at `targetX`.
    void PlaceChord(const TabItem& item, int x, int targetX, int y0, bool centred);
    int Shown(int string, int fret) const {
        return ShownFret(string, fret, options_.forms.neckFrets);
    }

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
    struct PlacedMark {
        int x;
        int lineY;
        char mark;
    };
    std::vector<PlacedMark> marks_;
    struct PlacedName {
        int x;
        QString text;
    };
    std::vector<PlacedName> names_;
    std::span<const TabItem> song_;
    std::vector<std::string> labels_; // per item of song_, with chord names
    QFont smallFont_;                 // chord names, measure numbers, h and p
    int smallHeight_ = 0;
    int smallAscent_ = 0;
    int digitsWidth_ = 0; // of "88"
    int nameFloor_ = 0;   // chord names of the next measure start right of this x
    bool truncated_ = false;
    bool engraved_ = false;                 // set by the engraved constructor
    const QPaintDevice* metrics_ = nullptr; // where text is measured
    QFont markFont_;                        // engraved: h and p, above their arcs
    QFont meterFont_;                       // engraved: the time signature's figures
    bool hasEndings_ = false;               // the song has ending brackets: room above the staff
    bool hasTriplets_ = false;              // the song has triplets: room for their 3 below
};

// Draws rows firstRow..lastRow (from 0, inclusive) of `measures` on the screen: the left
// measure of row r is measures[2 r], the right one measures[2 r + 1].
void DrawAllMeasures(TabCanvas& canvas, std::span<const TabItem> items,
                     std::span<const TabMeasure> measures, int firstRow, int lastRow);

// The tuning text, the title and the subtitle at the top of the screen's tablature.
void DrawScreenTitles(QPainter& painter, const TabGeometry& geometry, const TabTexts& texts);

} // namespace fw
