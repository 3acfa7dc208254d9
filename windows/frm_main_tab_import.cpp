// Importing ASCII banjo tablature (read by tablature_import.h): Edit > Paste Tablature puts the
// clipboard's tablature as chord lines after the current line; File > Import ASCII
// Tablature... opens a tablature file as a new untitled song.

#include "app/tablature_import.h"
#include "frm_main.h"

#include "app/shell/settings.h"
#include "chords/tuning.h"

#include <QAction>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace fw {

void TfrmMain::PasteTablature1Click() {
    if (IsPlaying())
        return;
    const std::optional<TabReading> reading =
        ReadClipboardTablature(dialogs(), m_document->Tuning());
    if (!reading) {
        FocusEditor();
        return;
    }
    int index = CurrentLineIndex();
    if (index != m_lines.lineCount())
        ++index;
    const TablaturePaste paste = PasteAt(m_lines, index, reading->lines);
    m_lines.insertLine(index, paste.text);
    // Selected from the end back to the start, so that the view shows the first line read.
    QTextCursor cursor(RichEdit1->document());
    cursor.setPosition(m_lines.lineStartPosition(paste.last) + m_lines.lineText(paste.last).size());
    cursor.setPosition(m_lines.lineStartPosition(paste.first), QTextCursor::KeepAnchor);
    RichEdit1->setTextCursor(cursor);
    m_document->setModified(true);
    ShowLineStatus(CurrentLineIndex());
    FocusEditor();
    NoticeImport(dialogs(), *reading, m_document->Tuning());
}

void TfrmMain::ImportAsciiTab1Click() {
    if (IsPlaying())
        return;
    if (m_document->Modified() && !AskSaveChanges()) {
        FocusEditor();
        return;
    }
    const std::optional<TablatureFile> file = AskTablatureFile(dialogs(), settings().LastDir);
    if (!file) {
        FocusEditor();
        return;
    }
    ResetToEmptyDocument();
    const int tuning = file->reading.tuningCode.value_or(ReferenceTuningCode);
    if (TuningIndex(tuning) == UserTuningIndex)
        tuningItems[UserTuningIndex]->setData(tuning);
    ApplyTuning(tuning);
    RichEdit1->setPlainText(JoinedLines(file->reading.lines));
    settings().LastDir = QFileInfo(file->path).absolutePath();
    m_lines.setSelection(0, 0);
    ShowLineStatus(0);
    // The imported song is on no disk yet: closing it asks to save it.
    m_document->setModified(true);
    FocusEditor();
    NoticeImport(dialogs(), file->reading);
}

} // namespace fw
