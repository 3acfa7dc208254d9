#include "file_dialog_start.h"

#include <QDir>
#include <QFileInfo>

namespace fw {

QString DialogStartFolder(const QString& songPath, const QString& lastDir) {
    if (!songPath.isEmpty()) {
        const QFileInfo song(songPath);
        if (song.absoluteDir().exists())
            return song.absolutePath();
    }
    if (!lastDir.isEmpty() && QFileInfo(lastDir).isDir())
        return QDir::cleanPath(QFileInfo(lastDir).absoluteFilePath());
    return QDir::homePath();
}

QString SuggestedFileName(const QString& songPath, const QString& extension) {
    const QString base = QFileInfo(songPath).completeBaseName();
    return (base.isEmpty() ? QStringLiteral("Untitled") : base) + extension.toLower();
}

QString SuggestedFilePath(const QString& songPath, const QString& lastDir,
                          const QString& extension) {
    return QDir(DialogStartFolder(songPath, lastDir))
        .filePath(SuggestedFileName(songPath, extension));
}

} // namespace fw
