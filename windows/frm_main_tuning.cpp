// The Tuning menu: applying a tuning code to the string offsets, the menu and the status bar.

#include "frm_main.h"
#include "ui/qt_text.h"

#include "chords/tuning.h"
#include "frm_chord_shapes.h"

#include <QAction>

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
    setStatusPanel(1, FromStd(StatusTuningText(ToStd(item->text()))));
    m_document->setTuning(code);
    if (frmChordShapes)
        frmChordShapes->SetTuning(code);
}

void TfrmMain::SetUserTuningCaption(int code) {
    tuningItems[UserTuningIndex]->setText(FromStd(UserTuningCaption(code)));
}

void TfrmMain::TuningMenuClicked(QAction* item) {
    ApplyTuning(item->data().toInt());
    m_document->setModified(true);
}

} // namespace fw
