// The installed data folder beside the program or under its prefix, and the example songs
// listed by their titles.

#include "app/shell/data_dir.h"
#include "app/shell/example_songs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fw {
namespace {

struct CandidateCase {
    const char* name;
    QString programFolder;
    QString installed;
    QStringList expected;
};

class DataDirCandidates : public ::testing::TestWithParam<CandidateCase> {};

TEST_P(DataDirCandidates, BesideTheProgramFirstThenThePrefix) {
    const CandidateCase& c = GetParam();
    EXPECT_EQ(ProgramDataDirCandidates(c.programFolder, c.installed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DataDirCandidates,
    ::testing::Values(
        CandidateCase{"relocated",
                      "/opt/f/bin",
                      "/usr/share/fretwick",
                      {"/opt/f/share/fretwick", "/usr/share/fretwick"}},
        CandidateCase{"installed", "/usr/bin/", "/usr/share/fretwick", {"/usr/share/fretwick"}},
        CandidateCase{"build_tree",
                      "/src/build/app",
                      "/usr/local/share/fretwick",
                      {"/src/build/share/fretwick", "/usr/local/share/fretwick"}},
        CandidateCase{"no_program", "", "/usr/share/fretwick", {"/usr/share/fretwick"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The build tree holds the data beside its programs, as an install does.
TEST(InstalledData, TheBuildTreeIsFoundWithItsExamples) {
    EXPECT_EQ(ProgramDataDir(),
              QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/fretwick"));
    EXPECT_FALSE(ProgramDataFile(QStringLiteral("help/getting_started.html")).isEmpty());
    EXPECT_TRUE(ProgramDataFile(QStringLiteral("help/no_such_page.html")).isEmpty());
    const std::vector<ExampleSong> songs = ExampleSongs();
    ASSERT_GE(songs.size(), 8u);
    for (const ExampleSong& song : songs) {
        QFile file(song.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains("\r\n* Title: " + song.title.toUtf8() + "\r\n"))
            << song.path.toStdString();
    }
    // A build tree is no system-wide install: the program writes the association itself.
    EXPECT_TRUE(SystemDesktopEntry().isEmpty());
}

TEST(InstalledData, ExamplesAreSongFilesSortedByTitle) {
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const char* text) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("b.fwk", "*Info 1:x\r\n* Title: Zebra Reel\r\nG, 0, 0, 0, 0, 0, Q\r\n");
    write("a.FWK", "*Info 1:x\r\nG, 0, 0, 0, 0, 0, Q\r\n");
    write("c.txt", "* Title: Not a song\r\n");
    write("d.fwk", "* title:   apple & pear  \n");
    std::vector<QString> titles;
    for (const ExampleSong& song : ExampleSongsIn(dir.path()))
        titles.push_back(song.title);
    EXPECT_EQ(titles, (std::vector<QString>{"a", "apple & pear", "Zebra Reel"}));
    EXPECT_TRUE(ExampleSongsIn(dir.filePath("missing")).empty());
}

} // namespace
} // namespace fw
