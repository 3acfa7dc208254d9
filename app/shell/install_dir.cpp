#include "install_dir.h"

#include "data_dir.h"
#include "shell_resources.h"

#include "chords/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <string>
#include <string_view>

namespace fw {

namespace {

void Report(const SettingsErrorReporter& report, const QString& message) {
    if (report)
        report(message);
}

bool CopyFailed(const SettingsErrorReporter& report, const QString& path) {
    Report(report, QStringLiteral("Cannot copy the chord dictionary to %1").arg(path));
    return false;
}

} // namespace

QString DefaultInstallDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Fretwick");
}

bool EnsureFolder(const QString& dir, const SettingsErrorReporter& report) {
    if (QFileInfo(dir).isDir() || QDir().mkpath(dir))
        return true;
    Report(report, QStringLiteral("Cannot create the folder %1").arg(dir));
    return false;
}

QByteArray ShippedDictionary() {
    // The installed dictionary first (a packager may have put another there), then the one
    // compiled into the program.
    const QString installed = ProgramDataFile(QString::fromLatin1(DictionaryFileName));
    if (!installed.isEmpty()) {
        QFile file(installed);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (!text.isEmpty())
                return text;
        }
    }
    InitShellResources();
    QFile shipped(QStringLiteral(":/fretwick/BCHORDS.DCT"));
    if (!shipped.open(QIODevice::ReadOnly))
        return {};
    return shipped.readAll();
}

bool InstallShippedDictionary(const QString& dir, const SettingsErrorReporter& report) {
    const QString path = QDir(dir).filePath(QString::fromLatin1(DictionaryFileName));
    if (QFileInfo::exists(path))
        return true;
    const QByteArray text = ShippedDictionary();
    if (text.isEmpty())
        return CopyFailed(report, path);
    // Written like every other file: atomically, through a link to where it points.
    std::string error;
    if (!WriteFileAtomically(
            path.toStdString(),
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())), error))
        return CopyFailed(report, path);
    return true;
}

} // namespace fw
