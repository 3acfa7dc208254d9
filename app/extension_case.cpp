#include "extension_case.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace fw {

namespace {

int ExtensionDot(const QString& path) {
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > path.lastIndexOf(QLatin1Char('/')) ? dot : -1;
}

} // namespace

QString ChangeFileExt(const QString& path, const QString& extension) {
    const int dot = ExtensionDot(path);
    return (dot < 0 ? path : path.left(dot)) + extension;
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

} // namespace fw
