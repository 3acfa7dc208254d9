// The dictionary folder and the chord dictionary shipped with the program.

#include "ui/tests/file_bytes.h"
#include "ui/tests/test_env.h"

#include "app/shell/install_dir.h"
#include "app/shell/settings_store.h"

#include "chords/chord_parser.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace fw {
namespace {

QString DictionaryIn(const QString& dir) {
    return QDir(dir).filePath(QString::fromLatin1(DictionaryFileName));
}

using test::ReadAll;

TEST(ShippedDictionary, IsChordLinesEndedWithCrLf) {
    const QByteArray text = ShippedDictionary();
    ASSERT_FALSE(text.isEmpty());
    ASSERT_TRUE(text.endsWith("\r\n"));
    QList<QByteArray> lines = text.split('\n');
    ASSERT_TRUE(lines.takeLast().isEmpty());
    EXPECT_GE(lines.size(), 10);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ASSERT_TRUE(lines[i].endsWith('\r')) << "line " << i + 1;
        const ParsedLine parsed = ParseChordText(lines[i].chopped(1).toStdString(), int(i));
        EXPECT_TRUE(parsed.isChord()) << lines[i].toStdString() << ": " << parsed.error;
    }
}

TEST(ShippedDictionary, IsCopiedOnTheFirstStartAndNeverReplaced) {
    test::ScopedUserFolders folders;
    QStringList problems;
    const auto report = [&problems](const QString& p) { problems.append(p); };

    Settings first = LoadSettings(report);
    const QString path = DictionaryIn(first.InstallDir);
    EXPECT_EQ(ReadAll(path), ShippedDictionary());
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::WriteOwner)
        << "the user's copy must be writable so that the dictionary can be saved";

    QFile mine(path);
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(mine.write("Mine, 0, 0, 0, 0, 0, W\r\n"), 24);
    mine.close();
    LoadSettings(report); // still a first start: the welcome flag is not set yet
    EXPECT_EQ(ReadAll(path), QByteArray("Mine, 0, 0, 0, 0, 0, W\r\n"));

    first.Welcomed = true;
    ASSERT_TRUE(SaveSettings(first, report));
    ASSERT_TRUE(QFile::remove(path));
    LoadSettings(report);
    EXPECT_FALSE(QFileInfo::exists(path)) << "only the first start brings the dictionary";
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST(ShippedDictionary, AFolderThatCannotHoldItIsReported) {
    test::ScopedUserFolders folders;
    ASSERT_TRUE(QDir().mkpath(folders.DataHome()));
    QFile blocker(folders.DataHome() + QStringLiteral("/Fretwick"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QStringList problems;
    LoadSettings([&problems](const QString& p) { problems.append(p); });
    EXPECT_EQ(problems, QStringList{QStringLiteral("Cannot create the folder %1")
                                        .arg(folders.DataHome() + QStringLiteral("/Fretwick"))});
}

TEST(ShippedDictionary, ALinkWhereTheDictionaryGoesStaysALink) {
    test::ScopedUserFolders folders;
    const QString dir = folders.DataHome() + QStringLiteral("/Fretwick");
    const QString elsewhere = folders.DataHome() + QStringLiteral("/mine/BCHORDS.DCT");
    ASSERT_TRUE(QDir().mkpath(dir));
    ASSERT_TRUE(QDir().mkpath(folders.DataHome() + QStringLiteral("/mine")));
    ASSERT_TRUE(QFile::link(elsewhere, DictionaryIn(dir))); // not there yet
    QStringList problems;
    EXPECT_TRUE(InstallShippedDictionary(dir, [&](const QString& p) { problems.append(p); }));
    EXPECT_TRUE(QFileInfo(DictionaryIn(dir)).isSymLink());
    EXPECT_EQ(ReadAll(elsewhere), ShippedDictionary());
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST(ShippedDictionary, ACopyThatFailsIsReported) {
    test::ScopedUserFolders folders;
    const QString missing = folders.DataHome() + QStringLiteral("/not/there");
    QStringList problems;
    EXPECT_FALSE(InstallShippedDictionary(missing, [&](const QString& p) { problems.append(p); }));
    EXPECT_EQ(
        problems,
        QStringList{
            QStringLiteral("Cannot copy the chord dictionary to %1").arg(DictionaryIn(missing))});
}

} // namespace
} // namespace fw
