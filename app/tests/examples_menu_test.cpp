// File > Examples: the installed example songs by title; one opens as a song whose Save asks
// where to save, so the installed file is never written.

#include "main_window_fixture.h"

#include "app/shell/example_songs.h"

#include <QAction>
#include <QMenu>

namespace fw::testing {
namespace {

class ExamplesMenu : public MainWindowTest {};

TEST_F(ExamplesMenu, ListsTheTitlesAndOpensACopyToSaveElsewhere) {
    TfrmMain& window = Start();
    const std::vector<ExampleSong> songs = ExampleSongs();
    ASSERT_GE(songs.size(), 8u);
    const QList<QAction*> items = window.ui().mnuExamples->actions();
    ASSERT_EQ(items.size(), static_cast<int>(songs.size()));
    EXPECT_TRUE(window.ui().mnuExamples->menuAction()->isVisible());
    EXPECT_EQ(items[0]->text(), songs[0].title);

    const QByteArray installed = ReadAll(songs[0].path);
    items[0]->trigger();
    EXPECT_EQ(window.document().path(), songs[0].path);
    EXPECT_FALSE(window.document().pathConfirmed());
    EXPECT_TRUE(Text().contains(QStringLiteral("* Title: ") + songs[0].title));
    EXPECT_TRUE(Messages().isEmpty());

    dialogs.AnswerSaveFile(dir.filePath(QStringLiteral("mine")));
    window.Save1Click();
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("mine.fwk"))), installed);
    EXPECT_EQ(ReadAll(songs[0].path), installed);
}

} // namespace
} // namespace fw::testing
