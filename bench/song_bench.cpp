// A 100,000-line song in the real main window (offscreen): opening it, building the play list,
// writing the MIDI file, and the status refresh a key press causes.

#include "bench_main_window.h"
#include "offscreen_home.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    QTemporaryDir home;
    UseOffscreenHome(home);
    QApplication app(argc, argv);

    const char* lines[] = {"G, 0, 0, 0, 0, 0, Q", "C, x, 2, 0, 1, 2, .e", "* verse",
                           "Slide in , 0 , 2-4 , 0 , 0 , 0 , H", "D7, 0, 0, 2, 1, 4-2, S"};
    QByteArray song = "*Info 1:bench\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\n";
    constexpr int LineCount = 100000;
    for (int i = 0; i < LineCount; ++i)
        song += QByteArray(lines[i % 5]) + "\r\n";
    const QString path = home.filePath("long.fwk");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(song) != song.size())
        return 1;
    file.close();

    BenchMainWindow bench;
    fw::TfrmMain& window = bench.window;
    fw::ScriptedDialogService& dialogs = bench.dialogs;

    QElapsedTimer timer;
    timer.start();
    window.OpenRecentFile(path);
    const double openMs = timer.nsecsElapsed() / 1e6;

    timer.restart();
    const bool built = window.playSession().BuildChordList(QString(), false);
    const double buildMs = timer.nsecsElapsed() / 1e6;

    dialogs.AnswerSaveFile(home.filePath("long.mid"));
    timer.restart();
    window.SaveAsMidiFile1Click();
    const double midiMs = timer.nsecsElapsed() / 1e6;

    constexpr int Refreshes = 200;
    timer.restart();
    for (int i = 0; i < Refreshes; ++i) {
        window.lines().selectLine(LineCount / 2 + i, false);
        window.ShowLineStatus(window.CurrentLineIndex());
    }
    const double refreshMs = timer.nsecsElapsed() / 1e6 / Refreshes;

    std::printf("song: lines=%d open=%.1fms build_play_list=%.1fms export_midi=%.1fms "
                "status_refresh=%.3fms ok=%d\n",
                LineCount, openMs, buildMs, midiMs, refreshMs, built ? 1 : 0);
    return built && QFile::exists(home.filePath("long.mid")) ? 0 : 1;
}
