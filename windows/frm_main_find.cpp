// Find and Find Next in the chord list.

#include "frm_find.h"
#include "frm_main.h"

#include "ui/dialog_service.h"

#include <QPlainTextEdit>

namespace fw {

Tfrmfind& TfrmMain::findDialog() {
    // Made at first use and kept, with its text and options, for the rest of the run.
    if (!frmfind)
        frmfind = new Tfrmfind(RichEdit1, this);
    return *frmfind;
}

void TfrmMain::ShowNotFound() {
    dialogs().Message(QStringLiteral("Search string \"") + findDialog().SearchText() +
                          QStringLiteral("\" not found"),
                      MessageIcon::Information, MessageButtons::Ok);
}

void TfrmMain::Find1Click() {
    Tfrmfind& find = findDialog();
    dialogs().ShowModal(find);
    switch (find.outcome()) {
    case Tfrmfind::Outcome::Found:
        m_lines.setSelection(find.MatchStart, find.MatchLength);
        if (!IsPlaying())
            ShowLineStatus(CurrentLineIndex());
        break;
    case Tfrmfind::Outcome::NotFound:
        ShowNotFound();
        break;
    case Tfrmfind::Outcome::Cancelled:
        break;
    }
    FocusEditor();
}

void TfrmMain::FindNext1Click() {
    Tfrmfind& find = findDialog();
    if (find.SearchText().isEmpty()) {
        Find1Click();
        return;
    }
    if (!find.FindNextMatch())
        ShowNotFound();
    else if (!IsPlaying())
        ShowLineStatus(CurrentLineIndex());
    FocusEditor();
}

} // namespace fw
