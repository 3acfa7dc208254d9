// Fretwick: the program entry. The command-line tools run without a display; otherwise the
// splash shows for a moment while the built-in synthesizer loads its sounds in the background,
// and then the main window runs until it is closed.

#include "command_line.h"
#include "main_sound.h"
#include "windows/frm_main.h"

#include "app/shell/settings_store.h"
#include "chords/save_interrupts.h"
#include "sound/fluid_midi_file_player.h"
#include "sound/qt_event_pump.h"
#include "sound/steady_play_clock.h"
#include "sound/system_output.h"
#include "ui/qt_dialog_service.h"
#include "windows/small_windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTimer>

#include <iostream>

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // A tool stopped by Ctrl+C or a kill while it writes its output puts that file back first.
    if (!args.empty() && args[0].rfind("--", 0) == 0)
        fw::StopSavesCleanlyOnSignals();
    if (const std::optional<int> status = fw::RunCommandLineTool(args, std::cout, std::cerr))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fretwick"));
    QApplication::setOrganizationName(QStringLiteral("Fretwick"));
    QApplication::setApplicationVersion(QStringLiteral(FRETWICK_VERSION));

    // The soundfont setting is needed before the window exists: the synthesizer starts loading
    // it now, in the background.
    const QString soundFont = fw::SettingsFileProblem().empty()
                                  ? QSettings(fw::SettingsFilePath(), QSettings::NativeFormat)
                                        .value("Midi/SoundFont")
                                        .toString()
                                  : QString();
    fw::SystemOutput output(soundFont.toStdString());
    output.Synth().Prepare(); // loads the soundfont off the start-up path
    fw::SteadyPlayClock clock(fw::QtEventPump());
    fw::MainSound sound(output, clock);
    // Range plays keep their time off the window's thread: on the synthesizer's sequencer, or
    // on a playback thread for the external ports.
    sound.makeScheduler = [&output] { return output.MakeScheduler(); };
    sound.scheduleStartDelay = std::chrono::milliseconds(10);
    // The MIDI player window's own synthesizer; it loads its sounds when the window is shown.
    fw::FluidMidiFilePlayer filePlayer(soundFont.toStdString());
    fw::QtDialogService dialogs;

    {
        fw::TfrmSplash splash;
        splash.show();
        QEventLoop wait;
        QTimer::singleShot(1500, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }

    fw::MainWindowDeps deps;
    deps.dialogs = &dialogs;
    deps.sound = &sound;
    deps.filePlayer = &filePlayer;
    for (int i = 1; i < argc; ++i)
        deps.arguments << QString::fromLocal8Bit(argv[i]);
    deps.programPath = QApplication::applicationFilePath();
    fw::TfrmMain window(deps);
    window.show();
    return QApplication::exec();
}
