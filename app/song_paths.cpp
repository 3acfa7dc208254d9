#include "song_paths.h"

#include "extension_case.h"

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

QString ExistingSongFile(const QString& chosen) {
    const QFileInfo picked(chosen);
    if (picked.isFile() && picked.suffix().compare(SongSuffix, Qt::CaseInsensitive) == 0)
        return chosen;
    return ExistingFileIgnoringExtensionCase(SongPathFor(chosen));
}

} // namespace fw
