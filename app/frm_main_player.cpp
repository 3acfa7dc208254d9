// Special > Midi Player: the MIDI file player window, made at its first showing and kept, with
// its loaded file, for the rest of the run.

#include "frm_main.h"
#include "frm_midi_player.h"

#include "app/shell/dialog_service.h"
#include "app/shell/settings.h"

namespace fw {

void TfrmMain::MidiPlayer1Click() {
    if (!m_deps.filePlayer)
        return;
    if (!frmMidiPlayer)
        frmMidiPlayer = new TfrmMidiPlayer(
            *m_deps.filePlayer, dialogs(), [this] { return settings().LastDir; }, this);
    dialogs().ShowModal(*frmMidiPlayer);
    focusEditor();
}

} // namespace fw
