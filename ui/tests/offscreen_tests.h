#pragma once
// What the widget test programs do in main() before their QApplication exists: the offscreen
// platform, and settings, data and state folders inside a temporary folder, so the user's own
// files are never touched.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

namespace fw::test {

namespace offscreen_detail {

// The offscreen platform cannot size windows to their contents and says so for every fixed-size
// dialog; that is no fault of the program.
inline QtMessageHandler standardHandler = nullptr;

inline void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context,
                                const QString& text) {
    if (!text.contains(QStringLiteral("does not support propagateSizeHints")) && standardHandler)
        standardHandler(type, context, text);
}

} // namespace offscreen_detail

// Selects the offscreen platform, points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_STATE_HOME at
// "config", "data" and "state" inside `home`, and silences the offscreen size-hint notes. False
// (and no folders set) when `home` could not be made.
inline bool PrepareOffscreenTests(const QTemporaryDir& home) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!home.isValid())
        return false;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_STATE_HOME", (home.path() + QStringLiteral("/state")).toUtf8());
    offscreen_detail::standardHandler =
        qInstallMessageHandler(offscreen_detail::QuietOffscreenNotes);
    return true;
}

} // namespace fw::test
