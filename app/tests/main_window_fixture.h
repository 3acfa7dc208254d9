#pragma once
// A main window wired to test doubles: scripted dialogs, a recording MIDI output on a virtual
// clock (a whole song plays instantly with exact times), and a fresh settings file.

#include "app/main_sound.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "sound/recording_file_player.h"
#include "sound/recording_output.h"
#include "sound/recording_scheduler.h"
#include "sound/virtual_play_clock.h"
#include "ui/scripted_dialog_service.h"
#include "ui/tests/file_bytes.h"
#include "windows/frm_main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace fw::testing {

using fw::test::ReadAll;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettingsFile();
        // Range plays run on the virtual clock's scheduler, as the program's run on the
        // synthesizer's sequencer.
        sound.makeScheduler = [this] {
            return std::make_unique<RecordingScheduler>(clock, output);
        };
    }

    // Starts the window with these command-line arguments.
    TfrmMain& Start(const QStringList& arguments = {}) {
        MainWindowDeps deps;
        deps.dialogs = &dialogs;
        deps.sound = &sound;
        deps.filePlayer = &filePlayer;
        deps.arguments = arguments;
        main = std::make_unique<TfrmMain>(deps);
        return *main;
    }

    // Starts the window shown and active, with the keyboard focus in the chord list.
    TfrmMain& StartShown() {
        TfrmMain& window = Start();
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        window.ui().RichEdit1->setFocus();
        return window;
    }

    // A settings file that has already welcomed the user, so no dialog waits at activation.
    static void ResetSettingsFile(const QString& extra = {}) {
        const QString path = SettingsFilePath();
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(("[Options]\nWelcomed=1\n" + extra).toUtf8());
    }

    void SetText(const QString& text) {
        main->ui().RichEdit1->setPlainText(text);
        main->document().setModified(false);
    }
    QString Text() const { return main->ui().RichEdit1->toPlainText(); }

    // Writes `bytes` to the file `name` in the test's folder, replacing any file there; its path.
    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    void Caret(int line) { main->lines().selectLine(line, false); }

    // Packed messages sent so far.
    std::vector<std::uint32_t> Sent() const { return output.Packed(); }
    // Keys of the note-on messages sent so far (after the first `skip` messages), in order.
    std::vector<int> NoteOnKeys(std::size_t skip = 0) const { return output.NoteOnKeys(skip); }
    // The texts of the message boxes shown so far.
    QStringList Messages() const { return dialogs.MessageTexts(); }
    // The object names of the modal dialogs shown so far.
    std::vector<QString> ModalDialogs() const {
        std::vector<QString> names;
        for (const DialogCall& call : dialogs.Log())
            if (call.kind == DialogKind::Modal)
                names.push_back(call.dialogName);
        return names;
    }

    QTemporaryDir dir;
    ScriptedDialogService dialogs;
    VirtualPlayClock clock;
    RecordingOutput output{&clock};
    MainSound sound{output, clock};
    RecordingFilePlayer filePlayer;
    std::unique_ptr<TfrmMain> main;
};

} // namespace fw::testing
