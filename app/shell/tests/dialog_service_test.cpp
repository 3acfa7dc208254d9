// The dialog seam: the answer rules, the scripted service used by tests, and the Qt service
// driven through its real dialogs.

#include "tests/support/case_name.h"
#include "ui/qt_dialog_service.h"
#include "ui/scripted_dialog_service.h"
#include "windows/frm_new_user_message.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace fw {
namespace {

struct ButtonsCase {
    MessageButtons buttons;
    DialogAnswer escape;
    std::vector<DialogAnswer> offered;
};

class AnswerRulesTest : public ::testing::TestWithParam<ButtonsCase> {};

TEST_P(AnswerRulesTest, EscapeAndOfferedAnswers) {
    const ButtonsCase& c = GetParam();
    EXPECT_EQ(EscapeAnswer(c.buttons), c.escape);
    for (DialogAnswer answer :
         {DialogAnswer::Ok, DialogAnswer::Cancel, DialogAnswer::Yes, DialogAnswer::No}) {
        const bool offered =
            std::find(c.offered.begin(), c.offered.end(), answer) != c.offered.end();
        EXPECT_EQ(OffersAnswer(c.buttons, answer), offered) << AnswerName(answer).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    ButtonSets, AnswerRulesTest,
    ::testing::Values(
        ButtonsCase{MessageButtons::Ok, DialogAnswer::Ok, {DialogAnswer::Ok}},
        ButtonsCase{MessageButtons::CancelOnly, DialogAnswer::Cancel, {DialogAnswer::Cancel}},
        ButtonsCase{MessageButtons::YesNo, DialogAnswer::No, {DialogAnswer::Yes, DialogAnswer::No}},
        ButtonsCase{MessageButtons::YesNoCancel,
                    DialogAnswer::Cancel,
                    {DialogAnswer::Yes, DialogAnswer::No, DialogAnswer::Cancel}}),
    [](const auto& info) {
        return "Buttons" + std::to_string(static_cast<int>(info.param.buttons));
    });

TEST(ScriptedDialogService, AnswersInOrderAndLogsEveryCall) {
    ScriptedDialogService dialogs;
    dialogs.AnswerMessage(DialogAnswer::Yes);
    dialogs.AnswerOpenFile(QStringLiteral("/songs/a.fwk"));
    dialogs.AnswerSaveFile(std::nullopt);
    dialogs.AnswerColor(QColor(Qt::red));
    dialogs.AnswerPrint(true);

    EXPECT_EQ(dialogs.Message(QStringLiteral(" Save changes?"), MessageIcon::Warning,
                              MessageButtons::YesNoCancel),
              DialogAnswer::Yes);
    FileDialogRequest open;
    open.title = QStringLiteral("Open");
    open.fileName = QStringLiteral("old.fwk");
    EXPECT_EQ(dialogs.OpenFile(open), QStringLiteral("/songs/a.fwk"));
    EXPECT_EQ(dialogs.SaveFile(FileDialogRequest{}), std::nullopt);
    EXPECT_EQ(dialogs.PickColor(QColor(Qt::cyan)), QColor(Qt::red));
    QPrinter printer;
    EXPECT_TRUE(dialogs.Print(printer));
    EXPECT_EQ(dialogs.PendingAnswers(), 0u);

    const auto& log = dialogs.Log();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].kind, DialogKind::Message);
    EXPECT_EQ(log[0].text, QStringLiteral(" Save changes?"));
    EXPECT_EQ(log[0].icon, MessageIcon::Warning);
    EXPECT_EQ(log[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(log[0].answer, QStringLiteral("Yes"));
    EXPECT_EQ(log[1].kind, DialogKind::OpenFile);
    EXPECT_EQ(log[1].title, QStringLiteral("Open"));
    EXPECT_EQ(log[1].text, QStringLiteral("old.fwk"));
    EXPECT_EQ(log[2].answer, QStringLiteral("cancelled"));
    EXPECT_EQ(log[3].text, QStringLiteral("#00ffff"));
    EXPECT_EQ(log[3].answer, QStringLiteral("#ff0000"));
    EXPECT_EQ(log[4].answer, QStringLiteral("accepted"));
    for (const DialogCall& call : log)
        EXPECT_TRUE(call.scripted);
}

TEST(ScriptedDialogService, WithoutAFittingAnswerGivesTheDefaultAndKeepsTheScript) {
    ScriptedDialogService dialogs;
    dialogs.AnswerOpenFile(QStringLiteral("/x.fwk"));
    EXPECT_EQ(dialogs.Message(QStringLiteral("q"), MessageIcon::Warning, MessageButtons::YesNo),
              DialogAnswer::No);
    EXPECT_EQ(dialogs.PendingAnswers(), 1u) << "the open-file answer waits for its call";
    EXPECT_FALSE(dialogs.Log().back().scripted);

    ScriptedDialogService other;
    other.AnswerMessage(DialogAnswer::Yes); // not a button of an OK box
    EXPECT_EQ(other.Message(QStringLiteral("done"), MessageIcon::Error, MessageButtons::Ok),
              DialogAnswer::Ok);
    EXPECT_EQ(other.PendingAnswers(), 1u);
    EXPECT_EQ(other.PickColor(Qt::white), std::nullopt);
    QPrinter printer;
    EXPECT_FALSE(other.Print(printer));
}

TEST(ScriptedDialogService, PrintingToAFileSetsThePrinterUp) {
    ScriptedDialogService dialogs;
    dialogs.AnswerPrintToFile(QStringLiteral("/tmp/out.pdf"));
    QPrinter printer;
    EXPECT_TRUE(dialogs.Print(printer));
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), QStringLiteral("/tmp/out.pdf"));
    EXPECT_EQ(dialogs.Log().back().answer, QStringLiteral("accepted"));
}

TEST(ScriptedDialogService, ModalDialogsAreShownAndClosedByTheAnswer) {
    ScriptedDialogService dialogs;
    TfrmNewUserMessage welcome;
    dialogs.AnswerModal([](QDialog& dialog) {
        EXPECT_TRUE(dialog.isVisible());
        dialog.findChild<QPushButton*>(QStringLiteral("btnYes"))->click();
    });
    EXPECT_EQ(dialogs.ShowModal(welcome), TfrmNewUserMessage::Yes);
    dialogs.AnswerModal(42);
    EXPECT_EQ(dialogs.ShowModal(welcome), 42);
    EXPECT_EQ(dialogs.ShowModal(welcome), TfrmNewUserMessage::No) << "default: the close box";
    EXPECT_FALSE(welcome.isVisible());

    const auto& log = dialogs.Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].dialogName, QStringLiteral("frmNewUserMessage"));
    EXPECT_EQ(log[0].text, QStringLiteral("Welcome"));
    EXPECT_EQ(log[0].answer, QStringLiteral("6"));
    EXPECT_FALSE(log[2].scripted);
}

// Runs `act` on the modal dialog of type T once it is up.
template <typename T> void WhenModalIsUp(std::function<void(T&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(5);
}

struct BoxCase {
    MessageIcon icon;
    QMessageBox::Icon qtIcon;
    MessageButtons buttons;
    int pressKey; // Qt::Key_Escape, or 0 to click `click`
    QMessageBox::StandardButton click;
    DialogAnswer expected;
};

class QtMessageBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtMessageBoxTest, ShowsTheIconAndButtonsAndReturnsThePress) {
    const BoxCase& c = GetParam();
    QtDialogService dialogs;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    WhenModalIsUp<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        icon = box.icon();
        buttons = box.standardButtons();
        if (c.pressKey != 0)
            QTest::keyClick(&box, Qt::Key(c.pressKey));
        else
            box.button(c.click)->click();
    });
    EXPECT_EQ(dialogs.Message(QStringLiteral("text"), c.icon, c.buttons), c.expected);
    EXPECT_EQ(title, QStringLiteral("Fretwick"));
    EXPECT_EQ(icon, c.qtIcon);
    const QMessageBox::StandardButtons offered[] = {
        QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Yes | QMessageBox::No,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel};
    EXPECT_EQ(buttons, offered[static_cast<int>(c.buttons)]);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, QtMessageBoxTest,
    ::testing::Values(
        BoxCase{MessageIcon::Error, QMessageBox::Critical, MessageButtons::Ok, 0, QMessageBox::Ok,
                DialogAnswer::Ok},
        BoxCase{MessageIcon::Error, QMessageBox::Critical, MessageButtons::Ok, Qt::Key_Escape,
                QMessageBox::NoButton, DialogAnswer::Ok},
        BoxCase{MessageIcon::Warning, QMessageBox::Warning, MessageButtons::CancelOnly,
                Qt::Key_Escape, QMessageBox::NoButton, DialogAnswer::Cancel},
        BoxCase{MessageIcon::Warning, QMessageBox::Warning, MessageButtons::YesNo, 0,
                QMessageBox::Yes, DialogAnswer::Yes},
        BoxCase{MessageIcon::Warning, QMessageBox::Warning, MessageButtons::YesNo, Qt::Key_Escape,
                QMessageBox::NoButton, DialogAnswer::No},
        BoxCase{MessageIcon::Warning, QMessageBox::Warning, MessageButtons::YesNoCancel, 0,
                QMessageBox::No, DialogAnswer::No},
        BoxCase{MessageIcon::Warning, QMessageBox::Warning, MessageButtons::YesNoCancel,
                Qt::Key_Escape, QMessageBox::NoButton, DialogAnswer::Cancel},
        BoxCase{MessageIcon::Information, QMessageBox::Information, MessageButtons::Ok,
                Qt::Key_Return, QMessageBox::NoButton, DialogAnswer::Ok},
        BoxCase{MessageIcon::None, QMessageBox::NoIcon, MessageButtons::YesNo, Qt::Key_Return,
                QMessageBox::NoButton, DialogAnswer::Yes}),
    [](const auto& info) {
        return fw::cases::IndexedCaseName(
            info.index, "Icon" + std::to_string(static_cast<int>(info.param.icon)) + " Buttons" +
                            std::to_string(static_cast<int>(info.param.buttons)) +
                            (info.param.pressKey != 0 ? " Key" : " Click"));
    });

TEST(QtDialogService, OpenDialogStartsWhereAskedAndReturnsTheChosenFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile song(dir.filePath(QStringLiteral("tune.fwk")));
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.close();
    FileDialogRequest request;
    request.title = QStringLiteral("Open song");
    request.directory = dir.path();
    request.fileName = QStringLiteral("tune.fwk");
    request.filter = QStringLiteral("Fretwick files (*.fwk);;All Files (*)");
    QtDialogService dialogs;
    WhenModalIsUp<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), request.title);
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
        EXPECT_EQ(dialog.nameFilters(), (QStringList{"Fretwick files (*.fwk)", "All Files (*)"}));
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_EQ(dialogs.OpenFile(request), QDir(dir.path()).absoluteFilePath("tune.fwk"));

    WhenModalIsUp<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(dialogs.OpenFile(request), std::nullopt);
}

TEST(QtDialogService, SaveDialogAddsTheSuffixAndAsksBeforeReplacing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FileDialogRequest request;
    request.title = QStringLiteral("Save As Midi");
    request.directory = dir.path();
    request.fileName = QStringLiteral("tune");
    request.defaultSuffix = QStringLiteral("mid");
    QtDialogService dialogs;
    WhenModalIsUp<QFileDialog>([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_EQ(dialogs.SaveFile(request), QDir(dir.path()).absoluteFilePath("tune.mid"));

    request.confirmOverwrite = false;
    WhenModalIsUp<QFileDialog>([](QFileDialog& dialog) {
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        dialog.reject();
    });
    EXPECT_EQ(dialogs.SaveFile(request), std::nullopt);
}

TEST(QtDialogService, ColourDialogReturnsTheChoiceOrNothing) {
    QtDialogService dialogs;
    WhenModalIsUp<QColorDialog>([](QColorDialog& dialog) {
        EXPECT_EQ(dialog.currentColor(), QColor(Qt::cyan));
        dialog.setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog.accept();
    });
    EXPECT_EQ(dialogs.PickColor(QColor(Qt::cyan)), QColor(0x12, 0x34, 0x56));
    WhenModalIsUp<QColorDialog>([](QColorDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(dialogs.PickColor(QColor(Qt::cyan)), std::nullopt);
}

TEST(QtDialogService, ShowModalReturnsTheDialogsResult) {
    QtDialogService dialogs;
    TfrmNewUserMessage welcome;
    WhenModalIsUp<TfrmNewUserMessage>([](TfrmNewUserMessage& d) { d.btnNo->click(); });
    EXPECT_EQ(dialogs.ShowModal(welcome), TfrmNewUserMessage::No);
}

} // namespace
} // namespace fw
