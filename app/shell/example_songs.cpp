#include "example_songs.h"

#include "data_dir.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace fw {

namespace {

// The title sits in the first comment lines of a song; a file without one within these lines
// is named by its file name.
constexpr int TitleSearchLines = 20;

QString TitleOf(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        static const QString marker = QStringLiteral("* Title:");
        for (int i = 0; i < TitleSearchLines && !file.atEnd(); ++i) {
            const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
            if (line.startsWith(marker, Qt::CaseInsensitive)) {
                const QString title = line.mid(marker.size()).trimmed();
                if (!title.isEmpty())
                    return title;
            }
        }
    }
    return QFileInfo(path).completeBaseName();
}

} // namespace

std::vector<ExampleSong> ExampleSongsIn(const QString& folder) {
    std::vector<ExampleSong> songs;
    if (folder.isEmpty())
        return songs;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Readable, QDir::Name))
        if (info.suffix().compare(QLatin1String("fwk"), Qt::CaseInsensitive) == 0)
            songs.push_back({TitleOf(info.filePath()), info.filePath()});
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(songs.begin(), songs.end(),
                     [&collator](const ExampleSong& a, const ExampleSong& b) {
                         return collator.compare(a.title, b.title) < 0;
                     });
    return songs;
}

std::vector<ExampleSong> ExampleSongs() {
    const QString dir = ProgramDataDir();
    return dir.isEmpty() ? std::vector<ExampleSong>{}
                         : ExampleSongsIn(dir + QStringLiteral("/examples"));
}

} // namespace fw
