#pragma once
// The real main window for a benchmark, wired to scripted dialogs and a recording MIDI output
// on a virtual clock, so that nothing waits for a user or a sound card. Make it after the
// QApplication (see offscreen_home.h).

#include "app/main_sound.h"
#include "sound/recording_output.h"
#include "sound/virtual_play_clock.h"
#include "ui/scripted_dialog_service.h"
#include "windows/frm_main.h"

struct BenchMainWindow {
    fw::ScriptedDialogService dialogs;
    fw::VirtualPlayClock clock;
    fw::RecordingOutput output{&clock};
    fw::MainSound sound{output, clock};
    fw::TfrmMain window{Deps()};

private:
    fw::MainWindowDeps Deps() {
        fw::MainWindowDeps deps;
        deps.dialogs = &dialogs;
        deps.sound = &sound;
        return deps;
    }
};
