// The edit group's commands and the Edit menu: new line, rest, duplicate, clear, delete,
// durations, rename, transpose, undo and the clipboard.

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

namespace fw {

void TfrmMain::btnNewChordClick() {
    const UndoStep step(m_lines);
    const int i = CurrentLineIndex();
    const int n = m_lines.lineCount();
    if (i == n) {
        // The caret is on the empty line after a final line break.
        m_lines.insertLine(n, QString());
        ShowLineStatus(n + 1);
        SelectLine(n + 1, true);
    } else {
        m_lines.insertLine(i + 1, QString());
        SelectLine(i + 1, false);
        ShowLineStatus(i + 1);
    }
    FocusEditor();
}

void TfrmMain::btnRestClick() {
    const UndoStep step(m_lines);
    InsertChordLine(QStringLiteral("Rest"));
}

void TfrmMain::btnDupClick() {
    const int i = CurrentLineIndex();
    const QString text = m_lines.lineText(i);
    if (IsCommentText(text) || IsBlankText(text))
        return; // the focus stays where it is
    const ParsedLine parsed = ParseChordLine(i, true);
    if (parsed.ok()) {
        const UndoStep step(m_lines);
        const int caret = m_lines.selectionStart();
        m_lines.insertLine(i, text);
        m_lines.setSelection(caret, 0);
        SelectLine(CurrentLineIndex(), true);
        m_play->PreviewChord(parsed.entry.Note, parsed.entry.HammerNote);
        SelectLine(CurrentLineIndex(), true);
    }
    FocusEditor();
}

void TfrmMain::btnClearClick() {
    const UndoStep step(m_lines);
    const int i = CurrentLineIndex();
    const QString text = m_lines.lineText(i);
    if (!IsCommentText(text) && !IsBlankText(text)) {
        ComposeChordLine(i, AllNoFrets(), AllNoFrets());
        ShowLineStatus(i);
    }
    FocusEditor();
}

void TfrmMain::btnDeleteClick() {
    const UndoStep step(m_lines);
    m_lines.deleteLine(CurrentLineIndex());
    ShowLineStatus(CurrentLineIndex());
    FocusEditor();
}

void TfrmMain::DurationClick(const QString& letter) {
    const UndoStep step(m_lines);
    CurrentDuration = FromStd(
        DurationTextFor(letter.isEmpty() ? 'Q' : letter.at(0).toLatin1(), chkDotted->isChecked()));
    const int i = CurrentLineIndex();
    const ParsedLine parsed = ParseChordLine(i, false);
    if (parsed.isChord()) {
        const std::string rewritten =
            WithDuration(ToStd(m_lines.lineText(i)), ToStd(CurrentDuration));
        m_lines.replaceLine(i, FromStd(rewritten));
        ShowLineStatus(i);
    }
    FocusEditor();
}

void TfrmMain::edtNameExit() {
    const UndoStep step(m_lines);
    const int k = m_nameLine;
    const ParsedLine parsed = ParseChordLine(k, false);
    if (!parsed.ok()) {
        FocusEditor();
        return;
    }
    if (!parsed.isChord()) {
        edtName->clear();
        return;
    }
    const QString box = edtName->text();
    if (!IsBlankText(box)) {
        m_lines.replaceLine(k, FromStd(RenamedLine(ToStd(m_lines.lineText(k)), ToStd(box))));
        fretboard()->setChordName(box);
    }
    FocusEditor();
}

namespace {
void Transpose(TfrmMain& main, TransposeDirection direction) {
    const UndoStep step(main.lines());
    const int i = main.CurrentLineIndex();
    if (!main.ParseChordLine(i, false).isChord())
        return;
    // A chord with no string played (a rest) stays as it is written.
    if (const auto moved = TransposedLine(ToStd(main.lines().lineText(i)), direction,
                                          ToStd(main.currentDuration())))
        main.lines().replaceLine(i, FromStd(*moved));
    const ParsedLine after = main.ParseChordLine(i, true);
    if (after.isChord())
        main.playSession().PreviewChord(after.entry.Note, after.entry.HammerNote);
    main.ShowLineStatus(i);
}
} // namespace

void TfrmMain::btnShiftLeftClick() {
    Transpose(*this, TransposeDirection::Down);
    FocusEditor();
}

void TfrmMain::btnShiftRightClick() {
    Transpose(*this, TransposeDirection::Up);
    FocusEditor();
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
    // Line and paragraph separators (word processors, web pages) become real lines.
    RichEdit1->insertPlainText(WithPlainLineBreaks(QApplication::clipboard()->text()));
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
