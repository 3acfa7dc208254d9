#pragma once
// The fret-number labels keep their fixed texts, numbers spaced apart by runs of blanks. How wide
// a blank is depends on the font, so the numbers are lined up under their fret spaces by fitting
// the label's indent and the font's letter spacing to the marker columns. (Letter spacing, not
// word spacing: the latter widens a whole run of blanks only once.)

#include <QFont>
#include <QString>

namespace fw {

struct FretNumberFit {
    int indent = 0;          // pixels from the label's left edge to the start of the text
    qreal letterSpacing = 0; // absolute extra advance of every character (may be negative)
};

// For a text of fret numbers separated by blanks, drawn left-aligned in `font` in a label whose
// left edge is `labelLeft` and width `labelWidth` (client x): the indent and letter spacing that
// put the centre of each number as near as possible (least squares) to the centre of the marker
// column of that position, moved as little as needed to keep the text inside the label (from
// its left edge when the text is wider than the label). Numbers outside 0..MaxFret
// are laid out but not aimed at any column.
FretNumberFit FitFretNumbers(const QString& text, const QFont& font, int labelLeft, int labelWidth);

} // namespace fw
