// A song that cannot be read changes nothing: whichever way it was opened (Open, a recent file,
// a drop, the command line), the document the user had stays exactly as it was, and the next
// Save cannot wipe a song it never read. The unreadable file is refused by the system itself:
// the open runs as an ordinary user, also when the tests run as the superuser.

#include "main_window_fixture.h"

#include "chords/tests/unprivileged_user.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QLabel>

#include <functional>

namespace fw::testing {
namespace {

// Everything a failed read must leave alone.
struct DocumentState {
    QString text, path, title;
    bool modified = false;
    int patch = 0, tuning = 0, tempo = 0;
    std::array<QString, 3> recent;
    QString checkedInstrument, checkedTuning;
    bool operator==(const DocumentState&) const = default;
};

void PrintTo(const DocumentState& s, std::ostream* os) {
    *os << "{text \"" << s.text.toStdString() << "\", path \"" << s.path.toStdString()
        << "\", title \"" << s.title.toStdString() << "\", modified " << s.modified << ", patch "
        << s.patch << ", tuning " << s.tuning << ", tempo " << s.tempo << ", recent ["
        << s.recent[0].toStdString() << ", " << s.recent[1].toStdString() << "], instrument "
        << s.checkedInstrument.toStdString() << ", tuning item " << s.checkedTuning.toStdString()
        << "}";
}

class FailedReads : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        test::OwnForTestUser(dir.path().toStdString());
        locked = dir.filePath(QStringLiteral("locked.fwk"));
        QFile file(locked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "*Info 1:\r\n*Info 2:0\r\n*Info 3:55555\r\n*Info 4:200\r\nD, 0, 0, 2, 3, 4, Q\r\n");
        file.close();
        test::OwnForTestUser(locked.toStdString());
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));
    }

    DocumentState State() const {
        DocumentState s;
        s.text = Text();
        s.path = main->currentSongPath();
        s.title = main->windowTitle();
        s.modified = main->document().Modified();
        s.patch = main->settings().Patch;
        s.tuning = main->document().Tuning();
        s.tempo = main->tempo();
        s.recent = main->settings().RecentFile;
        s.checkedInstrument = main->ui().instrumentGroup->checkedAction()
                                  ? main->ui().instrumentGroup->checkedAction()->text()
                                  : QString();
        s.checkedTuning = main->ui().tuningGroup->checkedAction()
                              ? main->ui().tuningGroup->checkedAction()->text()
                              : QString();
        return s;
    }

    // A named, changed document with its own patch, tuning and tempo.
    void MakeAWorkingDocument() {
        const QString mine = dir.filePath(QStringLiteral("mine.fwk"));
        QFile file(mine);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "*Info 1:\r\n*Info 2:40\r\n*Info 3:52555\r\n*Info 4:77\r\nG, 0, 0, 0, 0, 0, Q\r\n");
        file.close();
        dialogs.AnswerOpenFile(mine);
        main->Open1Click();
        main->AddRecentFile(locked);
        main->ui().RichEdit1->appendPlainText(QStringLiteral("C, x, 2, 0, 1, 2, H"));
        ASSERT_TRUE(main->document().Modified());
        // The question before the open: keep the changes in memory, do not save them.
        dialogs.AnswerMessage(DialogAnswer::No);
    }

    QString locked;
};

struct ReadPath {
    const char* label;
    std::function<void(TfrmMain&, const QString&, ScriptedDialogService&)> open;
};

void PrintTo(const ReadPath& path, std::ostream* os) {
    *os << path.label;
}

const ReadPath ReadPaths[] = {
    {"open",
     [](TfrmMain& w, const QString& path, ScriptedDialogService& d) {
         d.AnswerOpenFile(path);
         w.Open1Click();
     }},
    {"recent_file",
     [](TfrmMain& w, const QString&, ScriptedDialogService&) { w.ui().mnuFilename[0]->trigger(); }},
    {"drop", [](TfrmMain& w, const QString& path, ScriptedDialogService&) { w.DropFiles({path}); }},
};

class FailedReadsFrom : public FailedReads, public ::testing::WithParamInterface<ReadPath> {};

TEST_P(FailedReadsFrom, LeaveTheDocumentAsItWas) {
    TfrmMain& window = Start();
    MakeAWorkingDocument();
    const DocumentState before = State();
    {
        test::AsUnprivilegedUser user;
        ASSERT_TRUE(user.Active());
        GetParam().open(window, locked, dialogs);
    }
    EXPECT_EQ(State(), before);
    ASSERT_FALSE(Messages().isEmpty());
    EXPECT_EQ(Messages().back(),
              QStringLiteral("Opening \"%1\" failed: Permission denied.").arg(locked));

    // Save writes the document the user still has, not an empty one over the song.
    window.Save1Click();
    QFile saved(dir.filePath(QStringLiteral("mine.fwk")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("*Info 1:Fretwick song\r\n*Info 2:40\r\n*Info 3:52555\r\n"
                                          "*Info 4:77\r\nG, 0, 0, 0, 0, 0, Q\r\n"
                                          "C, x, 2, 0, 1, 2, H\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Paths, FailedReadsFrom, ::testing::ValuesIn(ReadPaths),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(FailedReads, FromTheCommandLineStartWithAnEmptyUnnamedDocument) {
    {
        test::AsUnprivilegedUser user;
        ASSERT_TRUE(user.Active());
        Start({locked});
    }
    EXPECT_EQ(Text(), QString());
    EXPECT_EQ(main->currentSongPath(), QString());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Fretwick - Untitled[*]"));
    EXPECT_FALSE(main->document().Modified());
    EXPECT_EQ(main->settings().Patch, 105);
    EXPECT_EQ(main->tempo(), 120);
    EXPECT_EQ(main->settings().RecentFile, (std::array<QString, 3>{}))
        << "a song that was never read is not a recent file";
    // The unprivileged start may not read the test's chord dictionary either; only what it
    // says of the song matters here.
    QStringList aboutTheSong = Messages();
    aboutTheSong.removeIf(
        [](const QString& m) { return m.contains(QLatin1String("BCHORDS.DCT")); });
    EXPECT_EQ(aboutTheSong,
              QStringList{QStringLiteral("Opening \"%1\" failed: Permission denied.").arg(locked)});
}

} // namespace
} // namespace fw::testing
