// A play can always be stopped, by every Stop path, whatever happened to the editor meanwhile;
// clicks and a second Play during its wind-down neither bring it back nor start another inside
// it; and the window cannot close until it has really ended. The controls a play greys out,
// the keys that stop it, and the tempo bar. All on the virtual clock.

#include "main_window_fixture.h"

#include "editor/fretboard_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <functional>
#include <set>

namespace fw::testing {
namespace {

using std::chrono::milliseconds;

// Far beyond any stop in these tests: a play still running then could not be stopped, and the
// test ends it itself so that it fails instead of looping for ever.
constexpr milliseconds RunawayAt{60000};

class PlayControl : public MainWindowTest {
protected:
    TfrmMain& StartLooping(const QString& text) {
        TfrmMain& window = Start();
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        SetText(text);
        window.ui().chkLoop->setChecked(true);
        window.ui().RichEdit1->setFocus();
        clock.At(RunawayAt, [&window] { window.playSession().StopRequested = true; });
        return window;
    }
    int NoteOns() const { return static_cast<int>(NoteOnKeys().size()); }
    int Closes() const { return output.Count(RecordingOutput::Kind::Close); }
    bool CloseAccepted() {
        QCloseEvent event;
        QCoreApplication::sendEvent(main.get(), &event);
        return event.isAccepted();
    }
};

struct StopPath {
    const char* label;
    std::function<void(TfrmMain&)> press;
};

void PrintTo(const StopPath& path, std::ostream* os) {
    *os << path.label;
}

const StopPath StopPaths[] = {
    {"play_button", [](TfrmMain& w) { QTest::mousePress(w.ui().btnPlay, Qt::LeftButton); }},
    {"f2", [](TfrmMain& w) { QTest::keyClick(w.ui().RichEdit1, Qt::Key_F2); }},
    {"escape", [](TfrmMain& w) { QTest::keyClick(w.ui().RichEdit1, Qt::Key_Escape); }},
    {"play_menu_stop", [](TfrmMain& w) { w.ui().Stop1->trigger(); }},
};

class StoppingAPlay : public PlayControl, public ::testing::WithParamInterface<StopPath> {};

TEST_P(StoppingAPlay, EndsALoopWhoseEditorWasEmptied) {
    TfrmMain& window = StartLooping(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    // The editor is still writable until the first key release: the user selects all and cuts.
    clock.At(milliseconds(700), [&window] {
        window.ui().RichEdit1->selectAll();
        window.ui().RichEdit1->cut();
    });
    clock.At(milliseconds(1250), [&] { GetParam().press(window); });
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(clock.Now(), milliseconds(1250)) << "the play ends at the Stop";
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window.IsPlaying());
    EXPECT_EQ(window.ui().btnPlay->text(), QStringLiteral("Play"));
}

TEST_P(StoppingAPlay, EndsAPlayWhileTheEditorStillHasLines) {
    TfrmMain& window = StartLooping(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q"));
    clock.At(milliseconds(1250), [&] { GetParam().press(window); });
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(clock.Now(), milliseconds(1250));
    EXPECT_EQ(NoteOns(), 5 + 4 + 5);
    EXPECT_EQ(Closes(), 1);
}

INSTANTIATE_TEST_SUITE_P(Paths, StoppingAPlay, ::testing::ValuesIn(StopPaths),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(PlayControl, ANeckClickDuringTheWindDownDoesNotBringThePlayBack) {
    TfrmMain& window = StartLooping(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    int closesAtStop = -1;
    // Stop and a click on the neck arrive in the same batch of events.
    clock.At(milliseconds(250), [&] {
        window.playSession().PlayButtonPressed();
        emit window.fretboard()->markerPressed(1, 3, Qt::LeftButton);
        emit window.fretboard()->markerPressed(2, 4, Qt::RightButton);
        closesAtStop = Closes();
    });
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(clock.Now(), milliseconds(250)) << "the stopped play stays stopped";
    EXPECT_EQ(NoteOns(), 5) << "no preview sounds while the play winds down";
    EXPECT_EQ(closesAtStop, 0) << "the play's port stays open until the play releases it";
    EXPECT_EQ(Closes(), 1);
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q")) << "clicks change nothing meanwhile";
    EXPECT_FALSE(window.playSession().StopRequested);
}

TEST_F(PlayControl, ASecondPlayDuringTheWindDownStartsNothing) {
    TfrmMain& window = StartLooping(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, x, 2, 0, 1, 2, Q"));
    int opensInside = -1;
    clock.At(milliseconds(250), [&] {
        window.playSession().PlayButtonPressed(); // Stop
        emit window.fretboard()->markerPressed(1, 3, Qt::LeftButton);
        window.playSession().PlayButtonPressed();               // Play again, still winding down
        QTest::mousePress(window.ui().btnPlay, Qt::LeftButton); // and once more with the mouse
        opensInside = output.Count(RecordingOutput::Kind::Open);
    });
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(clock.Now(), milliseconds(250));
    EXPECT_EQ(opensInside, 1) << "no play was started inside the first";
    EXPECT_EQ(NoteOns(), 5);
    EXPECT_FALSE(window.IsPlaying());
}

// A close during a play ends the play; the window itself closes only once the play has really
// ended (its loop is still running when the close arrives).
TEST_F(PlayControl, CloseStopsThePlayAndWaitsForItsEnd) {
    TfrmMain& window = StartLooping(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    bool acceptedWhileStopping = true;
    clock.At(milliseconds(100), [&] {
        window.playSession().PlayButtonPressed(); // Stop: the play winds down
        acceptedWhileStopping = CloseAccepted();
    });
    window.playSession().PlayButtonPressed();
    EXPECT_FALSE(acceptedWhileStopping) << "the caption says Play, but the play still runs";
    EXPECT_LT(clock.Now(), milliseconds(600));
    EXPECT_FALSE(window.IsPlaying());
    // The put-off close happens now that the play has ended.
    for (int i = 0; i < 500 && window.isVisible(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PlayControl, ThePopUpMenuOnlyCopiesDuringAPlay) {
    TfrmMain& window = StartLooping(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.ui().chkLoop->setChecked(false);
    QApplication::clipboard()->setText(QStringLiteral("C, x, 2, 0, 1, 2, Q"));
    bool copy = false, cut = true, paste = true;
    clock.At(milliseconds(100), [&] {
        window.lines().setSelection(0, 5);
        window.mnuEditorPopUpPopup();
        copy = window.ui().Copy2->isEnabled();
        cut = window.ui().Cut2->isEnabled();
        paste = window.ui().Paste2->isEnabled();
    });
    window.playSession().PlayButtonPressed();
    EXPECT_TRUE(copy);
    EXPECT_FALSE(cut);
    EXPECT_FALSE(paste);
    window.mnuEditorPopUpPopup();
    EXPECT_TRUE(window.ui().Cut2->isEnabled()) << "after the play, as before";
    EXPECT_TRUE(window.ui().Paste2->isEnabled());
}

TEST_F(PlayControl, ClicksDoNothingWhilePlaying) {
    TfrmMain& window = StartLooping(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.ui().chkLoop->setChecked(false);
    clock.At(milliseconds(100), [&] {
        emit window.fretboard()->markerPressed(1, 3, Qt::LeftButton);
        emit window.fretboard()->markerPressed(2, 3, Qt::RightButton);
        emit window.fretboard()->pegPressed();
    });
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    EXPECT_EQ(NoteOnKeys(), (std::vector<int>{62, 59, 55, 50, 67})) << "only the chord sounded";
    EXPECT_EQ(clock.Now(), milliseconds(500));
}

} // namespace
} // namespace fw::testing

namespace fw::testing {
namespace {

struct MenuKeyCase {
    const char* label;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

void PrintTo(const MenuKeyCase& c, std::ostream* os) {
    *os << c.label;
}

class MenuKeysDuringAPlay : public PlayControl,
                            public ::testing::WithParamInterface<MenuKeyCase> {};

// The menus that are greyed out during a play take their shortcuts with them: a key cannot
// replace, reload or rewrite the song while it plays.
TEST_P(MenuKeysDuringAPlay, DoNothing) {
    TfrmMain& window = StartLooping(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    window.ui().chkLoop->setChecked(false);
    window.settings().Prompts = false;
    const std::size_t dialogsBefore = dialogs.Log().size();
    clock.At(milliseconds(100), [&] {
        window.ui().RichEdit1->setFocus();
        QTest::keyClick(window.ui().RichEdit1, GetParam().key, GetParam().modifiers);
    });
    window.playSession().PlayButtonPressed();
    EXPECT_EQ(Text(), QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    EXPECT_EQ(dialogs.Log().size(), dialogsBefore) << "no dialog was opened";
    EXPECT_EQ(clock.Now(), milliseconds(500));
}

INSTANTIATE_TEST_SUITE_P(Keys, MenuKeysDuringAPlay,
                         ::testing::Values(MenuKeyCase{"new", Qt::Key_N, Qt::ControlModifier},
                                           MenuKeyCase{"open", Qt::Key_O, Qt::ControlModifier},
                                           MenuKeyCase{"save_as", Qt::Key_A, Qt::ControlModifier},
                                           MenuKeyCase{"undo", Qt::Key_Z, Qt::ControlModifier},
                                           MenuKeyCase{"find", Qt::Key_F, Qt::ControlModifier},
                                           MenuKeyCase{"tablature", Qt::Key_F4, Qt::NoModifier},
                                           MenuKeyCase{"midi_file", Qt::Key_F6, Qt::NoModifier}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(PlayControl, ControlsAreDisabledDuringAPlayAndRestoredAfter) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    bool editDisabled = false, playStop = false, stopVisible = false, fileMenuOff = false;
    clock.At(milliseconds(100), [&] {
        editDisabled =
            !window.ui().grpEditControls->isEnabled() && !window.ui().btnNewChord->isEnabled();
        playStop = window.ui().btnPlay->text() == QStringLiteral("Stop");
        stopVisible = window.ui().Stop1->isVisible() && !window.ui().Start1->isVisible();
        fileMenuOff = !window.ui().mnuFile->menuAction()->isEnabled();
    });
    window.playSession().PlayButtonPressed();
    EXPECT_TRUE(editDisabled);
    EXPECT_TRUE(playStop);
    EXPECT_TRUE(stopVisible);
    EXPECT_TRUE(fileMenuOff);
    EXPECT_TRUE(window.ui().grpEditControls->isEnabled());
    EXPECT_TRUE(window.ui().mnuFile->menuAction()->isEnabled());
    EXPECT_TRUE(window.ui().Start1->isVisible());
    EXPECT_EQ(window.ui().btnPlay->text(), QStringLiteral("Play"));
}

TEST_F(PlayControl, EscapeAndF2StopAPlayFromTheKeyboard) {
    TfrmMain& window = Start();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, W\nC, x, 2, 0, 1, 2, W"));
    window.ui().RichEdit1->setFocus();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_F2}) {
        const auto start = clock.Now();
        clock.At(start + milliseconds(250), [&] { QTest::keyClick(window.ui().RichEdit1, key); });
        window.playSession().PlayButtonPressed();
        EXPECT_EQ(clock.Now() - start, milliseconds(250)) << "key " << key;
        EXPECT_EQ(window.ui().btnPlay->text(), QStringLiteral("Play"));
    }
    // Idle, Escape does nothing and F2 starts a play.
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_Escape);
    EXPECT_EQ(NoteOnKeys().size(), 10u);
    const auto idle = clock.Now();
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_F2);
    EXPECT_EQ(clock.Now() - idle, milliseconds(4000));
}

TEST_F(PlayControl, ChangingTheTempoMarksTheDocumentModified) {
    TfrmMain& window = Start();
    window.setTempo(90);
    EXPECT_TRUE(window.document().Modified());
    EXPECT_EQ(window.ui().lblTempo->text(), QStringLiteral("90"));
}

// Debug keeps the playing line in view, turning the editor a page at a time: scrolled a line
// at a time, the whole editor would be painted again for every chord. The list's height depends
// on the desktop's fonts, so every height modulo a line is tried (one pixel short of a whole
// number of lines, the editor itself used to scroll a line at a time).
TEST_F(MainWindowTest, DebugFollowsThePlayingLineAPageAtATime) {
    TfrmMain& window = StartShown();
    constexpr int LineCount = 200;
    QStringList lines;
    for (int i = 0; i < LineCount; ++i)
        lines << QStringLiteral("G, 0, 0, 0, 0, 0, S");
    SetText(lines.join(QLatin1Char('\n')));
    window.ui().chkTrace->setChecked(true);
    QPlainTextEdit* editor = window.ui().RichEdit1;
    const int lineHeight = editor->cursorRect().height();
    std::set<int> heightsTried; // viewport heights modulo a line
    for (int grow = 0; grow < 3 * lineHeight; ++grow) {
        window.resize(window.width(), window.height() + 1);
        QApplication::processEvents();
        const int viewportHeight = editor->viewport()->height();
        if (!heightsTried.insert(viewportHeight % lineHeight).second)
            continue;
        SCOPED_TRACE(::testing::Message() << "viewport height " << viewportHeight);
        Caret(0);
        editor->verticalScrollBar()->setValue(0);
        std::set<int> tops;
        int shown = 0;
        int outOfView = 0;
        const auto follow =
            QObject::connect(editor, &QPlainTextEdit::cursorPositionChanged, editor, [&] {
                ++shown;
                tops.insert(editor->verticalScrollBar()->value());
                const QRect caret = editor->cursorRect();
                if (caret.top() < 0 || caret.bottom() > editor->viewport()->height())
                    ++outOfView;
            });
        window.playSession().PlayButtonPressed();
        QObject::disconnect(follow);
        EXPECT_GE(shown, LineCount);
        EXPECT_EQ(outOfView, 0);
        const int pageLines = viewportHeight / lineHeight;
        ASSERT_GT(pageLines, 2);
        EXPECT_LE(static_cast<int>(tops.size()), LineCount / (pageLines - 1) + 2);
    }
    EXPECT_EQ(static_cast<int>(heightsTried.size()), lineHeight);
}

// The line number changes with every chord a play follows; the status bar is never laid out
// again for it, and its panel stays as tall as the others at any size.
TEST_F(MainWindowTest, TheLineNumberNeverLaysTheStatusBarOutAgain) {
    TfrmMain& window = StartShown();
    QApplication::processEvents();
    struct LayoutRequests : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::LayoutRequest;
            return false;
        }
    } requests;
    window.statusBar()->installEventFilter(&requests);
    for (const char* text : {"Line 9", "Line 1234567", "Line 42"}) {
        window.setStatusPanel(2, QString::fromLatin1(text));
        QApplication::processEvents();
    }
    EXPECT_EQ(requests.count, 0);
    const auto& panels = window.ui().statusPanels;
    EXPECT_EQ(panels[2]->height(), panels[1]->height());
    EXPECT_GE(panels[2]->contentsRect().width(),
              panels[2]->fontMetrics().horizontalAdvance(QStringLiteral("Line 2000000")));
}

} // namespace
} // namespace fw::testing
