#include "data_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace fw {

namespace {

QString Clean(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

} // namespace

QStringList ProgramDataDirCandidates(const QString& programFolder,
                                     const QString& installedDataDir) {
    QStringList candidates;
    if (!programFolder.isEmpty())
        candidates << Clean(programFolder + QStringLiteral("/../share/fretwick"));
    if (!installedDataDir.isEmpty() && !candidates.contains(Clean(installedDataDir)))
        candidates << Clean(installedDataDir);
    return candidates;
}

QString ProgramDataDir() {
    if (!QCoreApplication::instance())
        return {};
    const QStringList candidates = ProgramDataDirCandidates(
        QCoreApplication::applicationDirPath(), QStringLiteral(FRETWICK_INSTALLED_DATA_DIR));
    for (const QString& dir : candidates)
        if (QFileInfo(dir + QStringLiteral("/BCHORDS.DCT")).isFile())
            return dir;
    return {};
}

QString ProgramDataFile(const QString& relative) {
    const QString dir = ProgramDataDir();
    if (dir.isEmpty())
        return {};
    const QString path = dir + QLatin1Char('/') + relative;
    return QFileInfo(path).isFile() ? path : QString();
}

QString SystemDesktopEntry() {
    const QString dir = ProgramDataDir();
    if (dir.isEmpty())
        return {};
    const QString share = Clean(dir + QStringLiteral("/.."));
    const QString entry = share + QStringLiteral("/applications/fretwick.desktop");
    if (!QFileInfo(entry).isFile())
        return {};
    // The user's own data folder is where the program writes its association itself.
    const QString own =
        Clean(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        if (Clean(folder) == share && share != own)
            return entry;
    return {};
}

} // namespace fw
