#pragma once
// Where graphic tablature goes on the device it is drawn on, in that device's pixels, and the
// fonts it is written in. The screen and the printer use the same drawing with their own
// geometry; divisions truncate.

#include <QFont>
#include <QSize>

namespace fw {

struct TabGeometry {
    int UsableWidth = 0;   // W: each measure is W div 2 wide
    int LineSpacing = 0;   // s: between two string lines
    int StaffHeight = 0;   // h: 4 s, from string 1's line to string 5's
    int LeftMargin = 0;    // L: the left measure of a row starts here
    int FirstStaffTop = 0; // T0: the top line of the first row
    int TitleTop = 0;
    int DurationGap = 0; // from the bottom line down to the duration letters' line box
    int LineWidth = 1;   // of the staff lines and arcs

    int RowHeight() const { return StaffHeight / 2 + StaffHeight; }
    int MeasureWidth() const { return UsableWidth / 2; }
    // The x of the left (`right` false) or right measure of a row.
    int MeasureLeft(bool right) const {
        return right ? UsableWidth / 2 - 1 + LeftMargin : LeftMargin;
    }
    // The top line of row `row` (from 0) on the screen, where the rows never break.
    int RowTop(int row) const { return FirstStaffTop + row * RowHeight(); }
};

// The paint area of the tablature window: 593 pixels wide.
inline constexpr int ScreenPaintWidth = 593;

// The screen: s = 15, h = 60, L = 10, T0 = 80, W from the paint area's width.
TabGeometry ScreenTabGeometry(int paintWidth = ScreenPaintWidth);

// The part of a printed page tablature uses, of the given size in device pixels: s = height
// div 60, T0 = 1.5 h, W = width less a tenth, and L half the width W leaves, so the staves
// stand in the middle. The title's top is where the screen puts its title, 25 pixels at a
// line spacing of 15, scaled to the page's line spacing.
TabGeometry PrinterTabGeometry(int pageWidth, int pageHeight);

// Engraved tablature is laid out in units of this many to the inch (see EngravingDpi).
inline constexpr int EngravingUnitsPerInch = 1200;

// Engraved tablature on a print area `area` big (EngravingDpi units): the printer's geometry,
// with the staves across the area's full width and the string lines no closer than the
// numbers' line boxes are tall.
TabGeometry EngravedPageGeometry(QSize area);

// The paint area's height for `nonEmptyMeasures` measures: 90 pixels per row of two, plus 80.
int ScreenPaintHeight(int nonEmptyMeasures);

// The fonts of tablature. Numbers and duration letters are sans-serif, titles serif, all at
// the point sizes of the device they are drawn on (screen or printer).
enum class TabDevice { Screen, Printer };
QFont TabNumberFont(TabDevice device, bool bold = false);
QFont TabTitleFont();
QFont TabSubtitleFont(TabDevice device);
QFont TabTuningFont(TabDevice device);
QFont TabPageNumberFont();
// The fixed-pitch font of ASCII tablature.
QFont AsciiTabFont();

} // namespace fw
