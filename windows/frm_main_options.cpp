// Opening the Settings dialog from the File menu and applying what its OK changes; the song-file
// association at start-up; Special > Midi Player, the MIDI file player window, made at its
// first showing and kept, with its loaded file, for the rest of the run.

#include "app/main_sound.h"
#include "frm_main.h"
#include "frm_midi_player.h"
#include "frm_options.h"
#include "ui/qt_text.h"

#include "app/shell/file_association.h"
#include "app/shell/settings.h"
#include "chords/tuning.h"
#include "editor/fretboard_view.h"
#include "ui/dialog_service.h"

#include <QAction>

namespace fw {

void TfrmMain::RegisterAssociation() {
    QStringList problems;
    RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                            m_deps.programPath,
                            [&problems](const QString& problem) { problems << problem; });
    if (!problems.isEmpty())
        ShowError(problems.join(QLatin1Char('\n')));
}

void TfrmMain::UnregisterAssociation() {
    QStringList problems;
    UnregisterFileAssociation([&problems](const QString& problem) { problems << problem; });
    if (!problems.isEmpty())
        ShowError(problems.join(QLatin1Char('\n')));
}

void TfrmMain::Options1Click() {
    if (!m_options) {
        OptionsHost host;
        host.deviceNames = [this] {
            QStringList names;
            MidiPort& port = m_deps.sound->port();
            names << FromStd(port.MidiOutDeviceName(-1));
            const int count = port.MidiOutDeviceCount();
            for (int i = 0; i < count; ++i)
                names << FromStd(port.MidiOutDeviceName(i));
            return names;
        };
        host.externalMidiActive = [this] { return m_deps.sound->port().ExternalMidiActive(); };
        host.userTuningCode = [this] { return tuningItems[UserTuningIndex]->data().toInt(); };
        host.registerAssociation = [this] { RegisterAssociation(); };
        host.unregisterAssociation = [this] { UnregisterAssociation(); };
        host.replaceDictionary = [this] { ReplaceChordDictionary(); };
        host.applyDisplay = [this] {
            fretboard()->setShowChordName(settings().ShowChordName);
            fretboard()->setShowFretNumbers(settings().ShowFretNumbers);
            fretboard()->setMarkerColor(static_cast<quint32>(settings().MarkerColor));
            fretboard()->setMarkerShape(settings().MarkerShape);
        };
        host.sortDictionary = [this](bool sorted) { m_dictionary->SetDictionarySorted(sorted); };
        host.setUserPatch = [this](const QString& caption, int tag) {
            MIDIPatch1->setText(caption);
            MIDIPatch1->setData(tag);
            MIDIPatch1->setChecked(true);
        };
        host.setUserTuning = [this](int code) {
            QAction* item = tuningItems[UserTuningIndex];
            item->setData(code);
            SetUserTuningCaption(code);
            ApplyTuning(code);
            settings().MenuTuningName = item->text();
            item->setChecked(true);
        };
        m_options = new TfrmOptions(settings(), dialogs(), std::move(host), this);
    }
    StatusHints = false;
    dialogs().ShowModal(*m_options);
    ShowLineStatus(CurrentLineIndex());
    StatusHints = true;
    FocusEditor();
}

void TfrmMain::MidiPlayer1Click() {
    if (!m_deps.filePlayer)
        return;
    if (!frmMidiPlayer)
        frmMidiPlayer = new TfrmMidiPlayer(
            *m_deps.filePlayer, dialogs(), [this] { return settings().LastDir; }, this);
    dialogs().ShowModal(*frmMidiPlayer);
    FocusEditor();
}

} // namespace fw
