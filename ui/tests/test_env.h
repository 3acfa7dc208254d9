#pragma once
// Per-test settings and data folders for the shell tests.

#include <QString>
#include <QTemporaryDir>

namespace fw::test {

// Called once by main(), before any test: the XDG_CONFIG_HOME the process started with, and
// the settings file the store chose for it then.
void RememberStart(const QString& configHome, const QString& settingsFile);
const QString& StartConfigHome();
const QString& StartSettingsFile();

// While alive, XDG_CONFIG_HOME and XDG_DATA_HOME point at folders inside a fresh temporary
// folder, and the settings file is looked for there.
class ScopedUserFolders {
public:
    ScopedUserFolders();
    ~ScopedUserFolders();
    ScopedUserFolders(const ScopedUserFolders&) = delete;
    ScopedUserFolders& operator=(const ScopedUserFolders&) = delete;

    QString ConfigHome() const { return root_.path() + QStringLiteral("/config"); }
    QString DataHome() const { return root_.path() + QStringLiteral("/data"); }
    // The settings file the store uses inside ConfigHome().
    QString SettingsFile() const {
        return ConfigHome() + QStringLiteral("/Fretwick/Fretwick.conf");
    }

private:
    QTemporaryDir root_;
    QByteArray oldConfig_;
    QByteArray oldData_;
};

} // namespace fw::test
