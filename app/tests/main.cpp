// The main window's tests run offscreen, with settings and data in a temporary folder, so the
// user's own files are never touched.

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The offscreen platform cannot size windows to their contents and says so for every fixed-size
// dialog; that is no fault of the program.
QtMessageHandler standardHandler = nullptr;

void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QStringLiteral("does not support propagateSizeHints")) && standardHandler)
        standardHandler(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    standardHandler = qInstallMessageHandler(QuietOffscreenNotes);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fretwick"));
    QApplication::setOrganizationName(QStringLiteral("Fretwick"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
