#include "window_memory.h"

#include "settings.h"
#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace fw {

void RestoreWindowPlace(QWidget& window, const Settings& s) {
    if (s.WindowWidth > 0 && s.WindowHeight > 0) {
        const QRect saved(s.WindowLeft, s.WindowTop, s.WindowWidth, s.WindowHeight);
        // The screen that shows the title bar keeps the window; when none does (the screen it
        // was on has gone) the desktop places it on the primary screen.
        const QScreen* home = nullptr;
        for (const QScreen* screen : QGuiApplication::screens())
            if (!home && ReachableOnScreens(saved, {screen->availableGeometry()}))
                home = screen;
        const QScreen* shown = home ? home : QGuiApplication::primaryScreen();
        const QRect available = shown ? shown->availableGeometry() : QRect();
        // A window saved on a larger (or less magnified) screen is made to fit this one, so
        // that its status bar and Play buttons are not left below the screen's edge.
        QRect place(saved.topLeft(), saved.size());
        if (!available.isEmpty())
            place = FitInside(place, available);
        place.setSize(place.size().expandedTo(window.minimumSize()));
        if (home)
            window.setGeometry(place);
        else
            window.resize(place.size());
    }
    if (s.WindowMaximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void SaveWindowPlace(const QWidget& window, Settings& s) {
    if (!window.isVisible())
        return; // never shown (or already gone): nothing the user arranged
    // The normal frame is kept also when maximised, so that un-maximising after the next start
    // gives the size the user chose.
    const bool framed = window.isMaximized() || window.isFullScreen();
    const QRect normal = framed ? window.normalGeometry() : window.geometry();
    if (normal.isValid()) {
        s.WindowLeft = normal.x();
        s.WindowTop = normal.y();
        s.WindowWidth = normal.width();
        s.WindowHeight = normal.height();
    }
    s.WindowMaximized = window.isMaximized();
}

} // namespace fw
