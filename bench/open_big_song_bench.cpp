// Opening a big song in the real main window (offscreen), as File > Open does, then quitting:
// run under /usr/bin/time by scripts/bench, which reports its wall time and peak memory.
//   fretwick_bench_open_big_song_bench SONG.fwk            opens SONG in the main window
//   fretwick_bench_open_big_song_bench --plain SONG.fwk    only puts SONG's text into a plain
//                                                          text editor: what the toolkit needs
// Prints the time the opening took and the editor's line count.

#include "bench_main_window.h"
#include "offscreen_home.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

// The text as the editor shows it, lines joined by LF, straight into a plain text editor.
int OpenPlain(const QString& path) {
    QPlainTextEdit editor;
    editor.setLineWrapMode(QPlainTextEdit::NoWrap); // as the chord list
    editor.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    editor.setPlainText(text);
    text.clear();
    QCoreApplication::processEvents();
    std::printf("plain editor: %.0f ms, %d lines\n", timer.nsecsElapsed() / 1e6,
                editor.document()->blockCount());
    return 0;
}

int OpenInMainWindow(const QString& path) {
    BenchMainWindow bench;
    fw::TfrmMain& window = bench.window;
    fw::ScriptedDialogService& dialogs = bench.dialogs;
    window.show();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    dialogs.AnswerOpenFile(path);
    window.Open1Click();
    QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    const int lines = window.lines().lineCount();
    std::printf("main window: %.0f ms, %d lines, %lld messages\n", ms, lines,
                static_cast<long long>(dialogs.MessageTexts().size()));
    // Closing without the save question and without a wait for a recovery copy.
    window.document().setModified(false);
    return lines > 0 && dialogs.MessageTexts().isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool plain = argc == 3 && std::strcmp(argv[1], "--plain") == 0;
    if (argc != 2 && !plain) {
        std::fprintf(stderr, "usage: %s [--plain] SONG.fwk\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[argc - 1]);
    QTemporaryDir home;
    UseOffscreenHome(home);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    return plain ? OpenPlain(path) : OpenInMainWindow(path);
}
