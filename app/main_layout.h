#pragma once
// Where the main window's controls go for a given size: the neck across the top, as wide as the
// window allows while its height stays near a quarter of the window, and below it the Edit
// group, the chord list and the right column (New Chord, the Play group, the play buttons), all
// starting on one line, so no dead gap opens above any of them. Pure.

#include <QRect>
#include <QSize>

namespace fw {

struct MainLayoutInput {
    QSize client;           // the central area between the menu bar and the status bar
    int windowHeight = 0;   // the whole window's height, frame excluded
    QSize editGroup;        // grpEditControls
    QSize playGroup;        // grpPlayControls
    QSize playButtons;      // pnlPlayButtons
    int newChordHeight = 0; // btnNewChord
};

struct MainLayout {
    QRect neck;
    QRect newChord;
    QRect editGroup;
    QRect editor;
    QRect playGroup;
    QRect playButtons;
};

// Space around and between the controls.
inline constexpr int LayoutMargin = 8;
// The neck's height is held to this share of the window's height...
inline constexpr double NeckHeightShare = 0.28;
// ...unless that would leave it narrower than this share of the width it could span.
inline constexpr double NeckLeastWidthShare = 0.75;

// The layout for `in`. The neck keeps its proportions (NeckHeightForWidth), is centred, and
// is never smaller than the fretboard at 100%, nor so tall that the controls below it lose
// room; the chord list takes the width between the Edit group and the right column and the
// height down to the bottom margin.
MainLayout LayOutMainWindow(const MainLayoutInput& in);

// The smallest client height at which nothing is cut: the neck at 100% and the taller of the
// Edit group and the right column.
int MinimumClientHeight(const MainLayoutInput& in);

} // namespace fw
