#include "window_memory.h"

#include "settings.h"
#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace fw {

void RestoreWindowPlace(QWidget& window, const Settings& s) {
    if (s.WindowWidth > 0 && s.WindowHeight > 0) {
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens << screen->availableGeometry();
        const QRect saved(s.WindowLeft, s.WindowTop, s.WindowWidth, s.WindowHeight);
        const QSize size = saved.size().expandedTo(window.minimumSize());
        if (ReachableOnScreens(saved, screens))
            window.setGeometry(QRect(saved.topLeft(), size));
        else // the screen it was on has gone
            window.resize(size);
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
