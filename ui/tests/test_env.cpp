#include "test_env.h"

#include <QSettings>

namespace fw::test {

namespace {
QString startConfigHome;
QString startSettingsFile;
} // namespace

void RememberStart(const QString& configHome, const QString& settingsFile) {
    startConfigHome = configHome;
    startSettingsFile = settingsFile;
}

const QString& StartConfigHome() {
    return startConfigHome;
}

const QString& StartSettingsFile() {
    return startSettingsFile;
}

ScopedUserFolders::ScopedUserFolders()
    : oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldData_(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_CONFIG_HOME", ConfigHome().toUtf8());
    qputenv("XDG_DATA_HOME", DataHome().toUtf8());
    // QSettings reads XDG_CONFIG_HOME once per process; point it at this test's folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ConfigHome());
}

ScopedUserFolders::~ScopedUserFolders() {
    qputenv("XDG_CONFIG_HOME", oldConfig_);
    qputenv("XDG_DATA_HOME", oldData_);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromUtf8(oldConfig_));
}

} // namespace fw::test
