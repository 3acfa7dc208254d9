#include "song_paths.h"

#include <QDir>
#include <QFileInfo>

namespace fw {

namespace {
const QString SongSuffix = QStringLiteral("fwk");
}

QString SongPathFor(const QString& chosen) {
    const QFileInfo info(chosen);
    return QDir(info.path()).filePath(info.completeBaseName() + QLatin1Char('.') + SongSuffix);
}

QString ExistingFileIgnoringExtensionCase(const QString& path) {
    const QFileInfo info(path);
    if (info.isFile())
        return path;
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return {};
    // Only the extension may differ: the base name is matched exactly. (No name filter: a base
    // name may hold characters that a filter reads as wildcards.)
    const QDir folder(info.path());
    const QStringList candidates = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : candidates) {
        const QFileInfo candidate(folder.filePath(name));
        if (candidate.completeBaseName() == base &&
            candidate.suffix().compare(suffix, Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    }
    return {};
}

QString ExistingSongFile(const QString& chosen) {
    const QFileInfo picked(chosen);
    if (picked.isFile() && picked.suffix().compare(SongSuffix, Qt::CaseInsensitive) == 0)
        return chosen;
    return ExistingFileIgnoringExtensionCase(SongPathFor(chosen));
}

} // namespace fw
