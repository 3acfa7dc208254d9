// The tablature commands of the main window through scripted dialogs: the refusals, the titles
// box (cancelled, edited, off), the truncation warning once, Save with a typed ".txt", hints
// kept out of the status bar, and F4/F5.

#include "main_window_fixture.h"

#include "windows/frm_get_tab_info.h"
#include "windows/frm_tab.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace fw::testing {
namespace {

class Tablature : public MainWindowTest {};

const QString Song = QStringLiteral("* Title: Old Joe Clark\n*Sub: a fiddle tune\n"
                                    "G, 0, 0, 0, 0, 0, Q\nC, 0, 2, 0, 1, 2, Q\n\n"
                                    "D7, x, 0, 2-4, 1, 12, E");

TEST_F(Tablature, MenuItemsAreEnabledWithTheirKeysAndHints) {
    TfrmMain& window = Start();
    EXPECT_TRUE(window.ui().Tab1->isEnabled());
    EXPECT_TRUE(window.ui().ASCIItab1->isEnabled());
    EXPECT_EQ(window.ui().Tab1->text(), QStringLiteral("&Tablature..."));
    EXPECT_EQ(window.ui().ASCIItab1->text(), QStringLiteral("&ASCII Tablature..."));
    EXPECT_EQ(window.ui().Tab1->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(window.ui().ASCIItab1->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(window.ui().Tab1->statusTip(), QStringLiteral("Show tablature window."));
    EXPECT_EQ(window.ui().ASCIItab1->statusTip(), QStringLiteral("Show ASCII tablature window."));
}

struct RefusalCase {
    const char* name;
    const char* text;
    QStringList messages;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class TablatureRefusals : public Tablature, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(TablatureRefusals, OpenNoWindow) {
    TfrmMain& window = Start();
    for (const bool graphic : {true, false}) {
        dialogs.ClearLog();
        SetText(QString::fromUtf8(GetParam().text));
        graphic ? window.Tab1Click() : window.ASCIItab1Click();
        EXPECT_EQ(Messages(), GetParam().messages);
        EXPECT_TRUE(ModalDialogs().empty());
        for (const DialogCall& call : dialogs.Log())
            EXPECT_EQ(call.icon, MessageIcon::Error);
    }
    EXPECT_TRUE(window.statusHints());
}

INSTANTIATE_TEST_SUITE_P(
    Table, TablatureRefusals,
    ::testing::Values(
        RefusalCase{"LineInError",
                    "G, 0, 0, 0, 0, 0, Q\nC, 0, 2",
                    {QStringLiteral("Line 2    Not enough commas."),
                     QStringLiteral("Fix errors before viewing tab.")}},
        RefusalCase{"OnlyComments",
                    "* a song to be\n\n",
                    {QStringLiteral("Can't create tab. No chords defined in editor.")}},
        RefusalCase{
            "EmptyEditor", "", {QStringLiteral("Can't create tab. No chords defined in editor.")}}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(Tablature, TheLineInErrorIsSelected) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\n\nC, 0, 2"));
    window.Tab1Click();
    EXPECT_EQ(window.ui().RichEdit1->textCursor().selectedText(), QStringLiteral("C, 0, 2"));
}

TEST_F(Tablature, CancellingTheTitlesBoxShowsNoTablature) {
    TfrmMain& window = Start();
    SetText(Song);
    dialogs.AnswerModal(QDialog::Rejected);
    window.Tab1Click();
    EXPECT_EQ(ModalDialogs(), std::vector<QString>{QStringLiteral("frmGetTabInfo")});
    EXPECT_EQ(dialogs.Log().back().text, QStringLiteral("Tablature "));
    EXPECT_TRUE(window.statusHints());
    EXPECT_TRUE(window.ui().RichEdit1->hasFocus() || !window.isVisible());
}

TEST_F(Tablature, TitlesTypedInTheBoxHeadTheTablature) {
    TfrmMain& window = Start();
    SetText(Song);
    QString seenTitle;
    QString shownTitle;
    bool hintsDuringBox = true;
    bool hintsDuringTab = true;
    dialogs.AnswerModal([&](QDialog& dialog) {
        auto& box = dynamic_cast<TfrmGetTabInfo&>(dialog);
        seenTitle = box.edtTitle->text();
        hintsDuringBox = window.statusHints();
        box.edtTitle->setText(QStringLiteral("Old Joe"));
        box.btnOK->click();
    });
    dialogs.AnswerModal([&](QDialog& dialog) {
        auto& tab = dynamic_cast<TfrmTab&>(dialog);
        shownTitle = tab.document().texts.title;
        hintsDuringTab = window.statusHints();
        tab.btnExit->click();
    });
    window.Tab1Click();
    EXPECT_EQ(seenTitle, QStringLiteral("Old Joe Clark"));
    EXPECT_EQ(shownTitle, QStringLiteral("Old Joe"));
    EXPECT_FALSE(hintsDuringBox);
    EXPECT_FALSE(hintsDuringTab);
    EXPECT_TRUE(window.statusHints());
    EXPECT_EQ(ModalDialogs(),
              (std::vector<QString>{QStringLiteral("frmGetTabInfo"), QStringLiteral("frmTab")}));
    // The chord list is not changed by titles edited in the box.
    EXPECT_TRUE(
        window.ui().RichEdit1->toPlainText().startsWith(QStringLiteral("* Title: Old Joe Clark")));
    EXPECT_FALSE(window.document().Modified());
}

TEST_F(Tablature, WithoutThePromptTheTablatureOpensAtOnceTitledFromTheComments) {
    ResetSettingsFile(QStringLiteral("TabPrompt=0\n"));
    TfrmMain& window = Start();
    SetText(Song);
    QString caption;
    QString title;
    QString subtitle;
    dialogs.AnswerModal([&](QDialog& dialog) {
        auto& tab = dynamic_cast<TfrmTab&>(dialog);
        caption = tab.windowTitle();
        title = tab.document().texts.title;
        subtitle = tab.document().texts.subtitle;
    });
    window.ASCIItab1Click();
    EXPECT_EQ(ModalDialogs(), std::vector<QString>{QStringLiteral("frmTab")});
    EXPECT_EQ(caption, QStringLiteral("ASCII Tablature"));
    EXPECT_EQ(title, QStringLiteral("Old Joe Clark"));
    EXPECT_EQ(subtitle, QStringLiteral("a fiddle tune"));
}

TEST_F(Tablature, TruncationIsWarnedOncePerOpening) {
    ResetSettingsFile(QStringLiteral("TabPrompt=0\n"));
    TfrmMain& window = Start();
    QString crowded;
    for (int i = 0; i < 30; ++i)
        crowded += QStringLiteral("G, 0, 0, 0, 0, 0, S\n");
    SetText(crowded);
    const QString warning = QString::fromLatin1(TruncationWarningText);

    dialogs.AnswerModal([](QDialog& dialog) {
        dialog.repaint();
        QTest::qWait(10);
    });
    window.ASCIItab1Click();
    EXPECT_EQ(Messages(), QStringList{warning});

    dialogs.ClearLog();
    dialogs.AnswerModal([](QDialog& dialog) {
        auto& tab = dynamic_cast<TfrmTab&>(dialog);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&tab));
        tab.PaintBox1->repaint();
        QTest::qWait(10);
        tab.PaintBox1->repaint();
        QTest::qWait(10);
    });
    window.Tab1Click();
    EXPECT_EQ(Messages(), QStringList{warning});
    EXPECT_EQ(dialogs.Log().front().icon, MessageIcon::Warning);
}

TEST_F(Tablature, SaveWithATypedTxtWritesTab) {
    ResetSettingsFile(QStringLiteral("TabPrompt=0\n"));
    TfrmMain& window = Start();
    SetText(Song);
    window.settings().LastDir = dir.path() + QLatin1Char('/');
    std::vector<std::string> shown;
    dialogs.AnswerModal([&](QDialog& dialog) {
        auto& tab = dynamic_cast<TfrmTab&>(dialog);
        shown = tab.asciiLines();
        tab.btnSave->click();
        QTest::keyClick(&tab, Qt::Key_Escape);
    });
    dialogs.AnswerSaveFile(dir.filePath(QStringLiteral("reel.txt")));
    window.ASCIItab1Click();

    const DialogCall& save = dialogs.Log().front();
    EXPECT_EQ(save.kind, DialogKind::SaveFile);
    EXPECT_EQ(save.file.title, QStringLiteral("Save As ASCII Tablature"));
    EXPECT_EQ(save.file.fileName, QStringLiteral("Untitled.tab")) << "an untitled song";
    EXPECT_EQ(save.file.directory, dir.path()) << "the last folder used";
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("reel.txt"))));
    QFile file(dir.filePath(QStringLiteral("reel.tab")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const std::string& line : shown)
        expected += QByteArray::fromStdString(line) + "\r\n";
    EXPECT_EQ(file.readAll(), expected);
    EXPECT_EQ(window.settings().LastDir, dir.path() + QLatin1Char('/')) << "Save keeps LastDir";
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(Tablature, TheTuningOfTheStatusBarHeadsTheText) {
    ResetSettingsFile(QStringLiteral("TabPrompt=0\n"));
    TfrmMain& window = Start();
    SetText(Song);
    window.ApplyTuning(64556);
    std::vector<std::string> shown;
    dialogs.AnswerModal(
        [&](QDialog& dialog) { shown = dynamic_cast<TfrmTab&>(dialog).asciiLines(); });
    window.ASCIItab1Click();
    ASSERT_GT(shown.size(), 2u);
    EXPECT_EQ(shown[1], "Custom Tuning - Ab C# G B Eb");
}

TEST_F(Tablature, F4AndF5OpenTheirModes) {
    ResetSettingsFile(QStringLiteral("TabPrompt=0\n"));
    TfrmMain& window = Start();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SetText(Song);
    window.ui().RichEdit1->setFocus();
    QStringList captions;
    for (int i = 0; i < 2; ++i)
        dialogs.AnswerModal([&](QDialog& dialog) { captions << dialog.windowTitle(); });
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_F4);
    QTest::keyClick(window.ui().RichEdit1, Qt::Key_F5);
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Tablature"), QStringLiteral("ASCII Tablature")}));
    EXPECT_TRUE(window.ui().RichEdit1->hasFocus());
}

} // namespace
} // namespace fw::testing
