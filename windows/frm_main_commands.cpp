// The edit group's durations and the chord name box (written by the composer), and the Edit
// menu: undo and the clipboard.

#include "frm_main.h"
#include "ui/qt_text.h"

#include "chords/line_edits.h"
#include "editor/chord_text_edit.h"
#include "editor/fretboard_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>

#include <algorithm>

namespace fw {

void TfrmMain::SelectLine(int line, bool wholeLine) {
    m_lines.selectLine(line, wholeLine);
    FocusEditor();
}

void TfrmMain::DurationClick(const QString& letter) {
    m_composer->SetDuration(letter, chkDotted->isChecked(), chkTriplet->isChecked());
    ShowDuration();
}

void TfrmMain::ShowDuration() {
    // The duration as a chord line ends: " Q", " .Q" for a dotted one.
    const QString duration = m_composer->duration().trimmed();
    const auto letterAt =
        std::find_if(duration.begin(), duration.end(), [](QChar c) { return c.isLetter(); });
    const QString letter = letterAt != duration.end() ? QString(*letterAt) : QString();
    for (QToolButton* button : durationButtons)
        button->setChecked(button->property("durationLetter").toString() == letter);
    chkDotted->setChecked(duration.startsWith(QLatin1Char('.')));
    chkTriplet->setChecked(duration.endsWith(QLatin1Char('3')));
}

void TfrmMain::edtNameExit() {
    if (!m_composer->RenameLine(m_nameLine, edtName->text()))
        edtName->clear();
}

namespace {
bool ClipboardHasText() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}
} // namespace

void TfrmMain::Edit1Click() {
    const bool selected = m_lines.selectionLength() > 0;
    Undo1->setEnabled(RichEdit1->document()->isUndoAvailable());
    Redo1->setEnabled(RichEdit1->document()->isRedoAvailable());
    Copy1->setEnabled(selected);
    Cut1->setEnabled(selected);
    Delete1->setEnabled(selected);
    Paste1->setEnabled(ClipboardHasText());
    SelectAll1->setEnabled(true);
}

void TfrmMain::EnableEditShortcuts() {
    for (QAction* item : {Undo1, Redo1, Cut1, Copy1, Paste1, Delete1})
        item->setEnabled(true);
}

void TfrmMain::mnuEditorPopUpPopup() {
    const bool selected = m_lines.selectionLength() > 0;
    // During a play the list is not edited: the pop-up menu only copies.
    Copy2->setEnabled(selected);
    Cut2->setEnabled(selected && !IsPlaying());
    Paste2->setEnabled(ClipboardHasText() && !IsPlaying());
}

void TfrmMain::Undo1Click() {
    RichEdit1->undo();
    ShowLineStatus(CurrentLineIndex());
    FocusEditor();
}

void TfrmMain::Redo1Click() {
    RichEdit1->redo();
    ShowLineStatus(CurrentLineIndex());
    FocusEditor();
}

void TfrmMain::Cut1Click() {
    const UndoStep step(m_lines);
    RichEdit1->cut();
    ShowLineStatus(CurrentLineIndex());
    FocusEditor();
}

void TfrmMain::Copy1Click() {
    RichEdit1->copy();
    FocusEditor();
}

void TfrmMain::Paste1Click() {
    if (!ClipboardHasText()) {
        FocusEditor(); // nothing to paste: the selection stays as it is
        return;
    }
    const UndoStep step(m_lines);
    // The selection is not replaced: the clipboard text goes in front of it.
    m_lines.setSelection(m_lines.selectionStart(), 0);
    // The editor's own bounded paste: line and paragraph separators (word processors, web
    // pages) become real lines, and a text beyond the editor's bounds is refused.
    if (auto* edit = qobject_cast<ChordTextEdit*>(RichEdit1))
        edit->PasteText(QApplication::clipboard()->text());
    FocusEditor();
}

void TfrmMain::Delete1Click() {
    const UndoStep step(m_lines);
    QTextCursor cursor = RichEdit1->textCursor();
    cursor.removeSelectedText();
    RichEdit1->setTextCursor(cursor);
    ShowLineStatus(CurrentLineIndex());
    FocusEditor();
}

void TfrmMain::SelectAll1Click() {
    RichEdit1->selectAll();
    FocusEditor();
}

} // namespace fw
