#include "tab_geometry.h"

#include <QFontMetrics>

#include <algorithm>
#include <limits>

namespace fw {

namespace {

// Metric-compatible stand-ins for the fonts tablature has always been printed in; the same
// files on screen, printer and PDF keep the layout stable everywhere.
const char* const SansFamily = "Liberation Sans";
const char* const SerifFamily = "Liberation Serif";
const char* const MonoFamily = "DejaVu Sans Mono";

QFont Font(const char* family, QFont::StyleHint hint, int points, bool bold = false) {
    QFont font(QString::fromLatin1(family), points, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(hint);
    font.setKerning(false);
    return font;
}

} // namespace

TabGeometry ScreenTabGeometry(int paintWidth) {
    TabGeometry g;
    g.UsableWidth = paintWidth - paintWidth / 20;
    g.LineSpacing = 15;
    g.StaffHeight = 4 * g.LineSpacing;
    g.LeftMargin = 10;
    g.FirstStaffTop = g.StaffHeight + 20;
    g.TitleTop = 10;
    g.DurationGap = 7;
    g.LineWidth = 1;
    return g;
}

TabGeometry PrinterTabGeometry(int pageWidth, int pageHeight) {
    TabGeometry g;
    g.UsableWidth = pageWidth - pageWidth / 10;
    g.LineSpacing = pageHeight / 60;
    g.StaffHeight = 4 * g.LineSpacing;
    // Margins and the title's top follow the page as everything else does: fixed device
    // pixels would be a millimetre or two at printer resolutions, and the title would run
    // into the page header.
    g.LeftMargin = (pageWidth - g.UsableWidth) / 2;
    g.FirstStaffTop = g.StaffHeight / 2 + g.StaffHeight;
    g.TitleTop = 25 * g.LineSpacing / 15;
    // The screen's 7 pixels at the printer's line spacing: 7 device pixels would put the
    // letters into the numbers of the bottom string at printer resolutions.
    g.DurationGap = 7 * g.LineSpacing / 15;
    // About a tenth of a millimetre; a one-pixel line all but disappears at 1200 dpi.
    g.LineWidth = std::max(1, g.LineSpacing / 40);
    return g;
}

TabGeometry EngravedPageGeometry(QSize area) {
    // Numbers of neighbouring strings must not meet, not even their line boxes (which text
    // readers take for the words' extents): the lines stand at least a number's height apart.
    QFont numbers = TabNumberFont(TabDevice::Printer);
    numbers.setPixelSize(qRound(numbers.pointSizeF() * EngravingUnitsPerInch / 72.0));
    const int least = QFontMetrics(numbers).height() + 2;
    const int height = std::max(area.height(), least * 60);
    TabGeometry g = PrinterTabGeometry(area.width(), height);
    g.UsableWidth = area.width();
    g.LeftMargin = 0;
    return g;
}

int ScreenPaintHeight(int nonEmptyMeasures) {
    const TabGeometry g = ScreenTabGeometry();
    const long long height =
        (static_cast<long long>(nonEmptyMeasures) + 1) / 2 * g.RowHeight() + g.FirstStaffTop;
    return static_cast<int>(std::min<long long>(height, std::numeric_limits<int>::max()));
}

QFont TabNumberFont(TabDevice device, bool bold) {
    return Font(SansFamily, QFont::SansSerif, device == TabDevice::Screen ? 10 : 12, bold);
}

QFont TabTitleFont() {
    return Font(SerifFamily, QFont::Serif, 16);
}

QFont TabSubtitleFont(TabDevice device) {
    return Font(SerifFamily, QFont::Serif, device == TabDevice::Screen ? 8 : 12);
}

QFont TabTuningFont(TabDevice device) {
    return TabSubtitleFont(device);
}

QFont TabPageNumberFont() {
    return Font(SerifFamily, QFont::Serif, 12);
}

QFont AsciiTabFont() {
    return Font(MonoFamily, QFont::Monospace, 10);
}

} // namespace fw
