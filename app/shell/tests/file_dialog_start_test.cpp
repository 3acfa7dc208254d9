// Save and export dialogs start in the song's folder, else the last folder, else home, and
// offer the song's name (or "Untitled") with a lower-case extension.

#include "app/shell/file_dialog_start.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fw {
namespace {

struct StartCase {
    const char* name;
    const char* song;    // relative to the temporary folder; "" for a new song
    const char* lastDir; // relative to the temporary folder; "" for none; "!" a missing one
    const char* folder;  // expected, relative to the temporary folder; "~" the home folder
};

class StartFolder : public ::testing::TestWithParam<StartCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("songs")));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("last")));
    }
    QString In(const char* relative) const {
        const QString text = QString::fromUtf8(relative);
        if (text.isEmpty())
            return {};
        if (text == QLatin1String("!"))
            return dir.filePath(QStringLiteral("gone"));
        return dir.filePath(text);
    }
    QTemporaryDir dir;
};

TEST_P(StartFolder, SongFolderElseLastDirElseHome) {
    const StartCase& c = GetParam();
    const QString expected = QString::fromUtf8(c.folder) == QLatin1String("~")
                                 ? QDir::homePath()
                                 : dir.filePath(QString::fromUtf8(c.folder));
    EXPECT_EQ(DialogStartFolder(In(c.song), In(c.lastDir)), QDir::cleanPath(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartFolder,
    ::testing::Values(StartCase{"SongFolder", "songs/creek.fwk", "last", "songs"},
                      StartCase{"NewSongLastDir", "", "last", "last"},
                      StartCase{"NewSongNoLastDir", "", "", "~"},
                      StartCase{"NewSongMissingLastDir", "", "!", "~"},
                      StartCase{"SongFolderGone", "gone/creek.fwk", "last", "last"},
                      StartCase{"LastDirWithASlash", "", "last/", "last"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SuggestedFileName, SongNameOrUntitledWithALowerCaseExtension) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", ".mid", "Untitled.mid"},
        {"", ".tab", "Untitled.tab"},
        {"/songs/creek.fwk", ".MID", "creek.mid"},
        {"/songs/Cripple Creek.FWK", ".musicxml", "Cripple Creek.musicxml"},
        {"/songs/my.song.fwk", ".pdf", "my.song.pdf"},
        {"/songs/creek.fwk", ".WAV", "creek.wav"},
    };
    for (const auto& [song, extension, expected] : cases) {
        EXPECT_EQ(SuggestedFileName(QString::fromUtf8(song), QString::fromUtf8(extension)),
                  QString::fromUtf8(expected))
            << song << " " << extension;
    }
    EXPECT_EQ(SuggestedFilePath(QString(), QString(), QStringLiteral(".mid")),
              QDir::home().filePath(QStringLiteral("Untitled.mid")));
}

} // namespace
} // namespace fw
