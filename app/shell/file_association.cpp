#include "file_association.h"

#include "data_dir.h"

#include "ui/banjo_art.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace fw {

namespace {

constexpr int IconSize = 128;

void Report(const SettingsErrorReporter& report, const QString& message) {
    if (report)
        report(message);
}

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// Makes `dir` when missing; "Failed to create key <dir>" when that fails.
bool MakeFolder(const QString& dir, const SettingsErrorReporter& report) {
    if (QFileInfo(dir).isDir() || QDir().mkpath(dir))
        return true;
    Report(report, QStringLiteral("Failed to create key %1").arg(dir));
    return false;
}

enum class Outcome { Unchanged, Written, Failed };

// Writes `bytes` to `path` unless the file already holds exactly them.
Outcome WriteIfChanged(const QString& path, const QByteArray& bytes,
                       const SettingsErrorReporter& report) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() &&
        existing.readAll() == bytes)
        return Outcome::Unchanged;
    existing.close();
    if (!MakeFolder(QFileInfo(path).path(), report))
        return Outcome::Failed;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Report(report, QStringLiteral("Failed to set data for '%1'").arg(path));
        return Outcome::Failed;
    }
    return Outcome::Written;
}

// Runs a database tool on `folder` when it is installed; a missing tool is no error (the
// desktop then rescans on its own).
void RunTool(const char* tool, const QString& folder, DatabaseRefresh refresh) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty())
        return;
    if (refresh == DatabaseRefresh::Wait) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, {folder});
        process.waitForFinished(60000);
    } else {
        QProcess process;
        process.setProgram(program);
        process.setArguments({folder});
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.startDetached();
    }
}

// A database that was never built (the tool was missing, or its run was cut short) is built
// at the next start even when its source did not change.
bool Stale(const QString& database, Outcome source) {
    return source == Outcome::Unchanged && !QFileInfo(database).isFile();
}

QString DataHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString ConfigHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace

QByteArray MimePackageText(const QString& extension, const QString& description) {
    QString text;
    text += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    text += QStringLiteral(
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    text += QStringLiteral("  <mime-type type=\"%1\">\n").arg(QLatin1String(SongMimeType));
    text += QStringLiteral("    <comment>%1</comment>\n").arg(Escaped(description));
    // Songs are plain text: text editors may open them too.
    text += QStringLiteral("    <sub-class-of type=\"text/plain\"/>\n");
    text += QStringLiteral("    <generic-icon name=\"%1\"/>\n").arg(QLatin1String(IconName));
    text += QStringLiteral("    <glob pattern=\"*.%1\" case-sensitive=\"false\"/>\n")
                .arg(Escaped(extension.toLower()));
    text += QStringLiteral("  </mime-type>\n</mime-info>\n");
    return text.toUtf8();
}

std::optional<QString> ExecArgument(const QString& path) {
    // The characters that make an Exec argument need quotes. A path without them is written
    // bare, which every launcher reads, even the simplest that split at spaces.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    QString text;
    for (const QChar c : path) {
        if (c.unicode() < 32 || c.unicode() == 127)
            return std::nullopt;
        quote = quote || reserved.contains(c);
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            text += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            text += QLatin1Char('%');
        text += c;
    }
    if (quote)
        text = QLatin1Char('"') + text + QLatin1Char('"');
    // The Exec value is itself a string value, whose own escape is the backslash.
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return text;
}

QByteArray DesktopEntryText(const QString& programPath) {
    const QString exec = ExecArgument(programPath).value_or(QString());
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Name=Fretwick\n");
    text += QStringLiteral("GenericName=Banjo Chord Editor\n");
    text += QStringLiteral("Comment=Write, hear and print chord lists for the five-string banjo\n");
    text += QStringLiteral("Exec=%1 %f\n").arg(exec);
    text += QStringLiteral("Icon=%1\n").arg(QLatin1String(IconName));
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("Categories=AudioVideo;Audio;Music;\n");
    text += QStringLiteral("MimeType=%1;\n").arg(QLatin1String(SongMimeType));
    return text.toUtf8();
}

QString WithDefaultApplication(const QString& list, const QString& mimeType,
                               const QString& desktopId) {
    const QString group = QStringLiteral("[Default Applications]");
    const QString entry = mimeType + QLatin1Char('=') + desktopId;
    QStringList lines = list.isEmpty() ? QStringList() : list.split(QLatin1Char('\n'));
    const bool endedWithBreak = list.endsWith(QLatin1Char('\n'));
    if (endedWithBreak)
        lines.removeLast();
    int groupLine = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (groupLine >= 0)
                break; // the end of our group without the key
            if (trimmed == group)
                groupLine = i;
            continue;
        }
        if (groupLine >= 0 && trimmed.section(QLatin1Char('='), 0, 0).trimmed() == mimeType) {
            lines[i] = entry;
            return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        }
    }
    if (groupLine >= 0) {
        lines.insert(groupLine + 1, entry);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << group << entry;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

namespace {
// Calls `visit(index, value)` for the `mimeType` keys of the [Default Applications] group.
template <typename Visit>
void ForEachDefaultKey(const QStringList& lines, const QString& mimeType, Visit visit) {
    bool inGroup = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            inGroup = trimmed == QLatin1String("[Default Applications]");
            continue;
        }
        if (inGroup && trimmed.section(QLatin1Char('='), 0, 0).trimmed() == mimeType)
            visit(i, trimmed.section(QLatin1Char('='), 1).trimmed());
    }
}

QStringList DesktopIds(const QString& value) {
    QStringList ids;
    for (const QString& id : value.split(QLatin1Char(';')))
        if (!id.trimmed().isEmpty())
            ids << id.trimmed();
    return ids;
}
} // namespace

std::optional<QString> DefaultApplicationOf(const QString& list, const QString& mimeType) {
    std::optional<QString> found;
    ForEachDefaultKey(list.split(QLatin1Char('\n')), mimeType, [&found](int, const QString& value) {
        if (!found)
            found = value;
    });
    return found;
}

QString WithoutDefaultApplication(const QString& list, const QString& mimeType,
                                  const QString& desktopId) {
    QStringList lines = list.split(QLatin1Char('\n'));
    QList<int> gone;
    ForEachDefaultKey(lines, mimeType, [&](int i, const QString& value) {
        QStringList ids = DesktopIds(value);
        if (!ids.contains(desktopId))
            return;
        ids.removeAll(desktopId);
        if (ids.isEmpty())
            gone << i;
        else
            lines[i] = mimeType + QLatin1Char('=') + ids.join(QLatin1Char(';')) +
                       (value.endsWith(QLatin1Char(';')) ? QStringLiteral(";") : QString());
    });
    for (auto it = gone.crbegin(); it != gone.crend(); ++it)
        lines.removeAt(*it);
    return lines.join(QLatin1Char('\n'));
}

QByteArray ProgramIconPng(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        DrawBanjoFitted(painter, QRectF(0, 0, size, size).adjusted(2, 2, -2, -2), -45);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

namespace {

QString MimeAppsListPath() {
    return ConfigHome() + QStringLiteral("/mimeapps.list");
}

QString ReadMimeAppsList() {
    QFile listFile(MimeAppsListPath());
    if (!listFile.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(listFile.readAll());
}

// Makes fretwick.desktop the song type's default in the user's mimeapps.list.
Outcome MakeDefaultApplication(const SettingsErrorReporter& report) {
    const QString list = ReadMimeAppsList();
    // A default the user chose since (another program) is theirs: it is not taken back.
    const std::optional<QString> current = DefaultApplicationOf(list, QLatin1String(SongMimeType));
    // One that is already the program's is left as it is, with any fallbacks the user added.
    const bool free = !current || DesktopIds(*current).isEmpty();
    const QString wanted = free ? WithDefaultApplication(list, QLatin1String(SongMimeType),
                                                         QLatin1String(DesktopFileName))
                                : list;
    return wanted == list ? Outcome::Unchanged
                          : WriteIfChanged(MimeAppsListPath(), wanted.toUtf8(), report);
}

// Takes fretwick.desktop out of the song type's defaults; false after reporting a list that
// cannot be rewritten.
bool ClearDefaultApplication(const SettingsErrorReporter& report) {
    const QString listPath = MimeAppsListPath();
    if (!QFileInfo::exists(listPath))
        return true;
    const QString list = ReadMimeAppsList();
    const QString without = WithoutDefaultApplication(list, QLatin1String(SongMimeType),
                                                      QLatin1String(DesktopFileName));
    if (without == list)
        return true;
    QSaveFile file(listPath);
    const QByteArray bytes = without.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Report(report, QStringLiteral("Failed to delete '%1'").arg(listPath));
        return false;
    }
    return true;
}

} // namespace

AssociationScope InstalledAssociationScope() {
    return SystemDesktopEntry().isEmpty() ? AssociationScope::UserFiles
                                          : AssociationScope::DefaultOnly;
}

bool RegisterFileAssociation(const QString& extension, const QString& description,
                             const QString& programPath, const SettingsErrorReporter& report,
                             DatabaseRefresh refresh, AssociationScope scope) {
    if (scope == AssociationScope::Detect)
        scope = InstalledAssociationScope();
    // The installed desktop entry and MIME package already tell the desktop everything but
    // the user's choice of default.
    if (scope == AssociationScope::DefaultOnly)
        return MakeDefaultApplication(report) != Outcome::Failed;
    QString ext = extension;
    ext.remove(QLatin1Char('.'));
    if (ext.isEmpty() || programPath.isEmpty())
        return true;

    const QString data = DataHome();
    const QString mimeFolder = data + QStringLiteral("/mime");
    const QString appsFolder = data + QStringLiteral("/applications");
    bool ok = true;

    const Outcome mime = WriteIfChanged(mimeFolder + QStringLiteral("/packages/fretwick.xml"),
                                        MimePackageText(ext, description), report);
    const QString desktopPath = appsFolder + QLatin1Char('/') + QLatin1String(DesktopFileName);
    Outcome desktop = Outcome::Failed;
    if (ExecArgument(programPath))
        desktop = WriteIfChanged(desktopPath, DesktopEntryText(programPath), report);
    else
        Report(report, QStringLiteral("Failed to set data for '%1'").arg(desktopPath));

    // The icon is the program's own drawing; it is written when missing.
    const QString iconPath = data + QStringLiteral("/icons/hicolor/%1x%1/apps/%2.png")
                                        .arg(IconSize)
                                        .arg(QLatin1String(IconName));
    if (!QFileInfo(iconPath).isFile() || QFileInfo(iconPath).size() == 0)
        ok &= WriteIfChanged(iconPath, ProgramIconPng(IconSize), report) != Outcome::Failed;

    const Outcome defaults = MakeDefaultApplication(report);

    if (mime == Outcome::Written || Stale(mimeFolder + QStringLiteral("/globs2"), mime))
        RunTool("update-mime-database", mimeFolder, refresh);
    if (desktop == Outcome::Written ||
        Stale(appsFolder + QStringLiteral("/mimeinfo.cache"), desktop))
        RunTool("update-desktop-database", appsFolder, refresh);
    return ok && mime != Outcome::Failed && desktop != Outcome::Failed &&
           defaults != Outcome::Failed;
}

bool UnregisterFileAssociation(const SettingsErrorReporter& report, DatabaseRefresh refresh,
                               AssociationScope scope) {
    if (scope == AssociationScope::Detect)
        scope = InstalledAssociationScope();
    if (scope == AssociationScope::DefaultOnly)
        return ClearDefaultApplication(report);
    const QString data = DataHome();
    const QString mimeFolder = data + QStringLiteral("/mime");
    const QString appsFolder = data + QStringLiteral("/applications");
    bool ok = true;
    const auto remove = [&](const QString& path) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            return false;
        if (QFile::remove(path))
            return true;
        Report(report, QStringLiteral("Failed to delete '%1'").arg(path));
        ok = false;
        return false;
    };
    const bool mimeRemoved = remove(mimeFolder + QStringLiteral("/packages/fretwick.xml"));
    const bool desktopRemoved =
        remove(appsFolder + QLatin1Char('/') + QLatin1String(DesktopFileName));

    ok &= ClearDefaultApplication(report);
    if (mimeRemoved)
        RunTool("update-mime-database", mimeFolder, refresh);
    if (desktopRemoved)
        RunTool("update-desktop-database", appsFolder, refresh);
    return ok;
}

} // namespace fw
