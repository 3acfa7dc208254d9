#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace fw {

namespace {

const QScreen* ScreenOf(const QWidget& window) {
    if (const QScreen* screen = window.screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

// What the window manager puts around `window`: measured once it is framed, else taken from
// `model` (a framed window of the same program), else nothing.
QMargins Decoration(const QWidget& window, const QWidget* model) {
    for (const QWidget* w : {&window, model}) {
        if (!w || !w->isVisible())
            continue;
        const QRect frame = w->frameGeometry(), inner = w->geometry();
        const QMargins m(inner.left() - frame.left(), inner.top() - frame.top(),
                         frame.right() - inner.right(), frame.bottom() - inner.bottom());
        if (!m.isNull())
            return m;
    }
    return {};
}

} // namespace

QRect FitInside(const QRect& frame, const QRect& available) {
    if (available.isEmpty())
        return frame;
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    fitted.moveLeft(
        std::clamp(fitted.left(), available.left(), available.right() - fitted.width() + 1));
    fitted.moveTop(
        std::clamp(fitted.top(), available.top(), available.bottom() - fitted.height() + 1));
    return fitted;
}

QRect CentredFrame(const QSize& content, const QMargins& decoration, const QRect& owner,
                   const QRect& available) {
    QRect frame(QPoint(0, 0), content.grownBy(decoration));
    frame.moveCenter(owner.center());
    return FitInside(frame, available);
}

bool ReachableOnScreens(const QRect& geometry, const QList<QRect>& screens) {
    if (geometry.isEmpty())
        return false;
    const QPoint grip(geometry.center().x(), geometry.top());
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QRect& screen) { return screen.contains(grip); });
}

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void CentreOnParent(QWidget& window) {
    const QWidget* parent = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (parent && !parent->isVisible())
        parent = nullptr;
    const QScreen* screen = parent ? ScreenOf(*parent) : ScreenOf(window);
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins decoration = Decoration(window, parent);
    const QRect owner = parent ? parent->frameGeometry() : available;
    const QRect frame = CentredFrame(window.size(), decoration, owner, available);
    const QSize content = frame.size().shrunkBy(decoration);
    if (content != window.size() && window.minimumSize() != window.maximumSize())
        window.resize(content.expandedTo(window.minimumSize()));
    window.move(frame.topLeft()); // move() places the frame's top-left corner
}

void KeepFrameOnScreen(QWidget& window) {
    if (!window.isVisible() || window.isMaximized() || window.isFullScreen())
        return;
    const QScreen* screen = ScreenOf(window);
    if (!screen)
        return;
    const QRect frame = window.frameGeometry();
    const QRect fitted = FitInside(frame, screen->availableGeometry());
    if (fitted == frame)
        return;
    const QSize content = fitted.size().shrunkBy(Decoration(window, nullptr));
    if (content != window.size())
        window.resize(content.expandedTo(window.minimumSize()));
    window.move(fitted.topLeft());
}

} // namespace fw
