#pragma once
// Benchmarks of windows and files run offscreen, with settings and data in `home`, so that the
// user's own files are never touched. Call before the QApplication is made.

#include <QByteArray>
#include <QTemporaryDir>

inline void UseOffscreenHome(const QTemporaryDir& home) {
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
}
