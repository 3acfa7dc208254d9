// The recovery copy of an unsaved song: written by the timer only after a change, removed on
// save, New and a clean exit, and offered at the next start after a crash.

#include "main_window_fixture.h"

#include "app/song_recovery.h"
#include "chords/song_file.h"
#include "chords/text_file.h"

#include <QCoreApplication>
#include <QScrollBar>

namespace fw::testing {
namespace {

class Recovery : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QDir(DefaultRecoveryFolder()).removeRecursively();
    }
    void TearDown() override { QDir(DefaultRecoveryFolder()).removeRecursively(); }

    static QString CopyPath() {
        return DefaultRecoveryFolder() + QStringLiteral("/unsaved-song.fwk");
    }
    static void PlaceCopy(const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(DefaultRecoveryFolder()));
        QFile file(CopyPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // Types at the end of the chord list, as the keyboard would.
    void Type(const QString& text) {
        main->RichEdit1->moveCursor(QTextCursor::End);
        main->RichEdit1->insertPlainText(text);
    }
    QString Question(const QString& name) const {
        return QStringLiteral("Fretwick closed unexpectedly. Recover the unsaved song '%1'?")
            .arg(name);
    }
};

TEST_F(Recovery, TheFolderIsUnderTheStateHomeAndTheIntervalThirtySeconds) {
    EXPECT_EQ(DefaultRecoveryFolder(),
              qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/Fretwick/recovery"));
    Start();
    EXPECT_EQ(main->recovery().interval(), std::chrono::milliseconds(30000));
    EXPECT_EQ(main->recovery().copyPath(), CopyPath());
}

TEST_F(Recovery, NoCopyIsWrittenWithoutAChange) {
    Start();
    main->recovery().Tick();
    EXPECT_FALSE(QFileInfo::exists(CopyPath()));
}

TEST_F(Recovery, ACopyIsWrittenAfterAChangeAndOnlyAgainAfterTheNextOne) {
    Start();
    Type(QStringLiteral("G D\nC"));
    main->setTempo(87);
    main->recovery().Tick();
    ASSERT_TRUE(QFileInfo::exists(CopyPath()));
    std::string text;
    std::string error;
    ASSERT_TRUE(ReadTextFile(CopyPath().toStdString(), text, error)) << error;
    const std::optional<RecoveredSong> song = ParseRecoveryFile(text);
    ASSERT_TRUE(song);
    EXPECT_EQ(song->path, QString());
    const std::vector<std::string> lines = SplitLines(song->songText);
    const SongHeader header = ReadSongHeader(lines);
    EXPECT_TRUE(header.headerComplete);
    EXPECT_EQ(header.tempo, 87);
    EXPECT_EQ(SongEditorLines(lines, header), (std::vector<std::string>{"G D", "C"}));

    // Nothing changed since: the next step writes nothing.
    ASSERT_TRUE(QFile::remove(CopyPath()));
    main->recovery().Tick();
    EXPECT_FALSE(QFileInfo::exists(CopyPath()));
    main->setTempo(90); // a setting alone is a change too
    main->recovery().Tick();
    EXPECT_TRUE(QFileInfo::exists(CopyPath()));
}

TEST_F(Recovery, TheTimerWritesTheCopyWithoutBeingAsked) {
    const QString folder = dir.filePath(QStringLiteral("timer"));
    bool modified = true;
    SongRecovery recovery(folder,
                          {[&] { return modified; }, [] { return QStringLiteral("1"); },
                           [] {
                               return RecoveredSong{QStringLiteral("/a.fwk"), "x\r\n"};
                           }},
                          std::chrono::milliseconds(0));
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFileInfo::exists(recovery.copyPath()));
}

enum class Ending { Save, SaveAs, New, CloseAfterSaving, CloseDeclining };

struct EndingCase {
    const char* name;
    Ending ending;
};

class RecoveryCopyRemoved : public Recovery, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(RecoveryCopyRemoved, When) {
    const QString songPath = dir.filePath(QStringLiteral("song.fwk"));
    Start();
    Type(QStringLiteral("G"));
    main->recovery().Tick();
    ASSERT_TRUE(QFileInfo::exists(CopyPath()));
    switch (GetParam().ending) {
    case Ending::Save:
        ASSERT_TRUE(main->SaveSongTo(songPath));
        break;
    case Ending::SaveAs:
        dialogs.AnswerSaveFile(songPath);
        main->SaveAs1Click();
        break;
    case Ending::New:
        dialogs.AnswerMessage(DialogAnswer::No); // do not save the changes
        main->New1Click();
        break;
    case Ending::CloseAfterSaving:
        dialogs.AnswerMessage(DialogAnswer::Yes);
        dialogs.AnswerSaveFile(songPath);
        EXPECT_TRUE(main->close());
        break;
    case Ending::CloseDeclining:
        dialogs.AnswerMessage(DialogAnswer::No);
        EXPECT_TRUE(main->close());
        break;
    }
    EXPECT_FALSE(QFileInfo::exists(CopyPath()));
    EXPECT_EQ(dialogs.PendingAnswers(), 0U);
}

INSTANTIATE_TEST_SUITE_P(Table, RecoveryCopyRemoved,
                         ::testing::Values(EndingCase{"Save", Ending::Save},
                                           EndingCase{"SaveAs", Ending::SaveAs},
                                           EndingCase{"New", Ending::New},
                                           EndingCase{"CloseAfterSaving", Ending::CloseAfterSaving},
                                           EndingCase{"CloseDeclining", Ending::CloseDeclining}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Recovery, AFailedSaveKeepsTheCopy) {
    Start();
    Type(QStringLiteral("G"));
    main->recovery().Tick();
    EXPECT_FALSE(main->SaveSongTo(dir.filePath(QStringLiteral("no/such/folder/song.fwk"))));
    EXPECT_TRUE(QFileInfo::exists(CopyPath()));
}

// A copy as a crashed run leaves it: song text with patch 20, a user tuning and tempo 77.
QByteArray CrashedCopy(const QString& path) {
    const std::string song = SongFileText({"G D", "* verse", "C"}, 20, 57675, 77);
    return QByteArray::fromStdString(RecoveryFileText({path, song}));
}

TEST_F(Recovery, YesOpensTheCopyAsAModifiedSongWithItsPathAndSettings) {
    const QString songPath = dir.filePath(QStringLiteral("my\nsong.fwk"));
    PlaceCopy(CrashedCopy(songPath));
    dialogs.AnswerMessage(DialogAnswer::Yes);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList{Question(QStringLiteral("my\nsong.fwk"))});
    EXPECT_EQ(Text(), QStringLiteral("G D\n* verse\nC"));
    EXPECT_EQ(main->currentSongPath(), songPath);
    EXPECT_EQ(main->settings().Patch, 20);
    EXPECT_EQ(main->Tuning, 57675);
    EXPECT_EQ(main->tempo(), 77);
    EXPECT_TRUE(main->Modified);
    // Kept until the song is saved, so a second crash loses nothing either.
    EXPECT_TRUE(QFileInfo::exists(CopyPath()));
}

TEST_F(Recovery, AnUntitledSongIsOfferedUnderThatName) {
    PlaceCopy(CrashedCopy(QString()));
    dialogs.AnswerMessage(DialogAnswer::Yes);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList{Question(QStringLiteral("Untitled"))});
    EXPECT_EQ(main->currentSongPath(), QString());
    EXPECT_TRUE(main->Modified);
}

TEST_F(Recovery, NoDeletesTheCopyAndKeepsTheEmptyDocument) {
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")));
    dialogs.AnswerMessage(DialogAnswer::No);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList{Question(QStringLiteral("reel.fwk"))});
    EXPECT_FALSE(QFileInfo::exists(CopyPath()));
    EXPECT_EQ(Text(), QString());
    EXPECT_FALSE(main->Modified);
}

TEST_F(Recovery, TheOfferComesAfterTheWelcome) {
    ResetSettingsFile(QStringLiteral("Welcomed=0\n"));
    PlaceCopy(CrashedCopy(QStringLiteral("/songs/reel.fwk")));
    dialogs.AnswerMessage(DialogAnswer::No);
    Start();
    main->FormActivate();
    ASSERT_EQ(dialogs.Log().size(), 2U);
    EXPECT_EQ(dialogs.Log()[0].kind, DialogKind::Modal);
    EXPECT_EQ(dialogs.Log()[1].kind, DialogKind::Message);
}

struct DamagedCase {
    const char* name;
    QByteArray bytes;
};

class DamagedRecoveryCopy : public Recovery, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedRecoveryCopy, IsNotOfferedAndChangesNothing) {
    PlaceCopy(GetParam().bytes);
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList());
    EXPECT_EQ(Text(), QString());
    EXPECT_FALSE(main->Modified);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedRecoveryCopy,
    ::testing::Values(DamagedCase{"Empty", QByteArray()},
                      DamagedCase{"Binary", QByteArray("\x00\xff\xfe\x01garbage\x00", 12)},
                      DamagedCase{"AnotherFile", QByteArray("*Info 1:song\r\nG\r\n")},
                      DamagedCase{"MarkerOnly", QByteArray("Fretwick recovery copy 1\n")},
                      DamagedCase{"NoPathLineEnd",
                                  QByteArray("Fretwick recovery copy 1\n%2Fa.fwk")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Recovery, AFolderInPlaceOfTheCopyIsNotReadNorOffered) {
    ASSERT_TRUE(QDir().mkpath(CopyPath()));
    Start();
    main->FormActivate();
    EXPECT_EQ(Messages(), QStringList());
    EXPECT_EQ(Text(), QString());
}

} // namespace
} // namespace fw::testing
