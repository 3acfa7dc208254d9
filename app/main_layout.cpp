#include "main_layout.h"

#include "editor/fretboard_geometry.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

constexpr int NeckTop = 4;

int LowerHeight(const MainLayoutInput& in) {
    const int right =
        in.newChordHeight + LayoutMargin + in.playGroup.height() + 10 + in.playButtons.height();
    return std::max(in.editGroup.height(), right);
}

} // namespace

int MinimumClientHeight(const MainLayoutInput& in) {
    return NeckTop + NeckArea.height() + LayoutMargin + LowerHeight(in) + LayoutMargin;
}

MainLayout LayOutMainWindow(const MainLayoutInput& in) {
    const int w = in.client.width();
    const int h = in.client.height();
    const int span = std::max(w - 2 * LayoutMargin, NeckArea.width());

    // The height the neck may have: a share of the window, more when that would make it too
    // narrow, less when the controls below would be cut, never below 100%.
    const int byShare = int(std::lround(NeckHeightShare * in.windowHeight));
    const int byWidth = NeckHeightForWidth(int(std::lround(NeckLeastWidthShare * span)));
    const int roomLeft = h - NeckTop - LayoutMargin - LowerHeight(in) - LayoutMargin;
    int neckHeight = std::min({NeckHeightForWidth(span), std::max(byShare, byWidth), roomLeft});
    neckHeight = std::max(neckHeight, NeckArea.height());
    const int neckWidth =
        std::min(span, std::max(NeckWidthForHeight(neckHeight), NeckArea.width()));
    neckHeight = NeckHeightForWidth(neckWidth);

    MainLayout out;
    out.neck = QRect((w - neckWidth) / 2, NeckTop, neckWidth, neckHeight);
    const int top = out.neck.bottom() + 1 + LayoutMargin;

    const int rightX = w - LayoutMargin - in.playGroup.width();
    out.newChord = QRect(rightX, top, in.playGroup.width(), in.newChordHeight);
    out.playGroup = QRect(QPoint(rightX, out.newChord.bottom() + 1 + LayoutMargin), in.playGroup);
    out.playButtons = QRect(QPoint(rightX, out.playGroup.bottom() + 1 + 10), in.playButtons);
    out.editGroup = QRect(QPoint(LayoutMargin, top), in.editGroup);
    const int editorX = out.editGroup.right() + 1 + LayoutMargin;
    out.editor = QRect(editorX, top, std::max(rightX - LayoutMargin - editorX, 0),
                       std::max(h - LayoutMargin - top, 0));
    return out;
}

} // namespace fw
