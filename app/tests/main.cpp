// The main window's tests run offscreen, with settings and data in a temporary folder, so the
// user's own files are never touched.

#include "ui/tests/offscreen_tests.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!fw::test::PrepareOffscreenTests(home))
        return 3;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fretwick"));
    QApplication::setOrganizationName(QStringLiteral("Fretwick"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
