// The shell tests run offscreen with their own settings and data folders, so the user's files
// are never touched.

#include "ui/tests/offscreen_tests.h"
#include "ui/tests/test_env.h"

#include "app/shell/settings_store.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!fw::test::PrepareOffscreenTests(home))
        return 3;
    QApplication app(argc, argv);
    fw::test::RememberStart(home.path() + QStringLiteral("/config"), fw::SettingsFilePath());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
