// Importing ASCII banjo tablature: Edit > Paste Tablature reads the clipboard's text into chord
// lines after the current line; File > Import ASCII Tablature... opens a tablature file as a new
// untitled song. Text without tablature is refused and changes nothing.

#include "frm_main.h"
#include "qt_text.h"

#include "app/shell/dialog_service.h"
#include "app/shell/settings.h"
#include "chords/text_file.h"
#include "chords/tuning.h"
#include "export/ascii_tab_reader.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace fw {

namespace {

// False, after telling the user, when the reading holds no chord line.
bool HasTablature(DialogService& dialogs, const TabReading& reading) {
    if (reading.chordLines > 0)
        return true;
    dialogs.Message(FromStd(std::string(NoBanjoTablatureFound)), MessageIcon::Error,
                    MessageButtons::Ok);
    return false;
}

// What the reading assumed, read differently or left out, in one message. `keptTuning`: the
// song's tuning when the tablature is pasted into it.
void NoticeImport(DialogService& dialogs, const TabReading& reading,
                  std::optional<int> keptTuning = std::nullopt) {
    if (const std::string notice = ImportNotice(reading, keptTuning); !notice.empty())
        dialogs.Message(FromStd(notice), MessageIcon::Warning, MessageButtons::Ok);
}

bool IsChordText(const QString& line) {
    return !IsBlankText(line) && !IsCommentText(line);
}

QString JoinedLines(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines)
        texts << FromStd(line);
    return texts.join(QLatin1Char('\n'));
}

} // namespace

void TfrmMain::PasteTablature1Click() {
    if (IsPlaying())
        return;
    const TabReading reading = ReadAsciiTab(ToStd(QApplication::clipboard()->text()), Tuning);
    if (!HasTablature(dialogs(), reading)) {
        focusEditor();
        return;
    }
    std::vector<std::string> lines = reading.lines;
    while (lines.back().empty())
        lines.pop_back();

    int index = CurrentLineIndex();
    if (index != m_lines.lineCount())
        ++index;
    // The measures of the song on either side stay apart from the tablature's.
    int first = index;
    if (index > 0 && IsChordText(m_lines.lineText(index - 1))) {
        lines.insert(lines.begin(), std::string());
        ++first;
    }
    const int last = index + static_cast<int>(lines.size()) - 1;
    if (IsChordText(m_lines.lineText(index)))
        lines.emplace_back();

    m_lines.insertLine(index, JoinedLines(lines));
    // Selected from the end back to the start, so that the view shows the first line read.
    QTextCursor cursor(RichEdit1->document());
    cursor.setPosition(m_lines.lineStartPosition(last) + m_lines.lineText(last).size());
    cursor.setPosition(m_lines.lineStartPosition(first), QTextCursor::KeepAnchor);
    RichEdit1->setTextCursor(cursor);
    Modified = true;
    ShowLineStatus(CurrentLineIndex());
    focusEditor();
    NoticeImport(dialogs(), reading, Tuning);
}

void TfrmMain::ImportAsciiTab1Click() {
    if (IsPlaying())
        return;
    if (Modified && !AskSaveChanges()) {
        focusEditor();
        return;
    }
    FileDialogRequest request;
    request.title = tr("Import ASCII Tablature");
    request.directory = settings().LastDir;
    request.filter =
        QStringLiteral("Tablature files (*.tab *.TAB *.Tab *.txt *.TXT *.Txt);;All Files (*)");
    const std::optional<QString> chosen = dialogs().OpenFile(request);
    if (!chosen) {
        focusEditor();
        return;
    }
    std::string text;
    std::string error;
    if (!ReadTextFile(ToStd(*chosen), text, error)) {
        showError(FromStd(error));
        focusEditor();
        return;
    }
    const TabReading reading = ReadAsciiTab(text, ReferenceTuningCode);
    if (!HasTablature(dialogs(), reading)) {
        focusEditor();
        return;
    }

    ResetToEmptyDocument();
    const int tuning = reading.tuningCode.value_or(ReferenceTuningCode);
    if (TuningIndex(tuning) == UserTuningIndex)
        tuningItems[UserTuningIndex]->setData(tuning);
    ApplyTuning(tuning);
    RichEdit1->setPlainText(JoinedLines(reading.lines));
    settings().LastDir = QFileInfo(*chosen).absolutePath();
    m_lines.setSelection(0, 0);
    ShowLineStatus(0);
    // The imported song is on no disk yet: closing it asks to save it.
    Modified = true;
    focusEditor();
    NoticeImport(dialogs(), reading);
}

} // namespace fw
