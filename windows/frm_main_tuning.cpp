// The Tuning menu: applying a tuning code to the string offsets, the menu and the status bar.

#include "frm_main.h"
#include "ui/qt_text.h"

#include "chords/capo.h"
#include "chords/tuning.h"
#include "frm_capo.h"
#include "frm_chord_shapes.h"
#include "ui/dialog_service.h"

#include <QAction>
#include <QActionGroup>

namespace fw {

void TfrmMain::ApplyTuning(int code) {
    // A code with fewer than five digits, or a negative one, can only come from a damaged song
    // or settings file; it is read as the reference tuning.
    code = RepairedTuningCode(code);
    const int index = TuningIndex(code);
    if (index == UserTuningIndex)
        SetUserTuningCaption(code);
    QAction* item = tuningItems[static_cast<std::size_t>(index)];
    item->setChecked(true);
    m_document->setTuning(code);
    ShowTuningStatus();
}

void TfrmMain::ShowTuningStatus() {
    const QAction* item = tuningGroup->checkedAction();
    const std::string tuning = item ? StatusTuningText(ToStd(item->text())) : std::string();
    const int capo = m_document->Capo();
    setStatusPanel(1, FromStd(tuning + CapoStatusText(capo)));
    if (frmChordShapes)
        frmChordShapes->SetTuning(m_document->Tuning(), capo);
}

void TfrmMain::Capo1Click() {
    TfrmCapo dialog(m_document->Capo(), this);
    if (dialogs().ShowModal(dialog) != QDialog::Accepted) {
        FocusEditor();
        return;
    }
    // One undo step, as any other edit of the chord list.
    m_document->setCapo(dialog.capo());
    ShowTuningStatus();
    ShowLineStatus(CurrentLineIndex());
    FocusEditor();
}

void TfrmMain::SetUserTuningCaption(int code) {
    tuningItems[UserTuningIndex]->setText(FromStd(UserTuningCaption(code)));
}

void TfrmMain::TuningMenuClicked(QAction* item) {
    ApplyTuning(item->data().toInt());
    m_document->setModified(true);
}

} // namespace fw
