// The tablature tests run offscreen with their own settings and data folders, so the user's
// files are never touched, and every drawing uses the fonts the program ships with.

#include "ui/tests/offscreen_tests.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!fw::test::PrepareOffscreenTests(home))
        return 3;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
