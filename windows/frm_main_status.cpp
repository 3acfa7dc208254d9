// The current line: parsing editor lines, the line status shown on the labels, the name box,
// the status bar and the fretboard, and the editor events that keep it current.

#include "frm_main.h"
#include "ui/qt_text.h"

#include "app/shell/settings_store.h"
#include "chords/capo.h"
#include "editor/fretboard_view.h"
#include "ui/dialog_service.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace fw {

ParsedLine TfrmMain::ParseChordLine(int lineIndex, bool showErrorBox) {
    fretboard()->setChordName(QString());
    ParsedLine parsed = ParseChordText(ToStd(m_lines.lineText(lineIndex)), lineIndex, MaxFret);
    if (!parsed.ok() && showErrorBox)
        ShowError(FromStd(parsed.error));
    return parsed;
}

bool TfrmMain::ShowLineStatus(int lineIndex) {
    const ParsedLine parsed = ParseChordLine(lineIndex, false);
    const LineKind kind = parsed.ok() ? KindOf(parsed.entry) : LineKind::Chord;

    edtName->clear();
    QString label;
    if (parsed.ok()) {
        label = FromStd(parsed.entry.Name);
        if (kind == LineKind::Comment)
            label = QStringLiteral("No Chord  -  Comment Line");
        else if (kind == LineKind::Blank)
            label = QStringLiteral("No Chord  -  Blank Line");
    } else {
        label = QStringLiteral("(Error in line.)");
    }
    fretboard()->setChordName(label);

    if (parsed.ok() && kind == LineKind::Chord) {
        setStatusPanel(0, QString());
        ShowChordMarkers(parsed.entry.Fret, parsed.entry.HammerFret);
        edtName->setText(FromStd(parsed.entry.Name));
        m_nameLine = lineIndex;
        return true;
    }
    // A capo line the song cannot use is an error of that line, as a chord line's would be.
    const std::string error = parsed.ok() && kind == LineKind::Comment
                                  ? CapoLineError(ToStd(m_lines.lineText(lineIndex)), lineIndex)
                                  : parsed.error;
    if (!error.empty())
        setStatusPanel(0, QStringLiteral("   ***Error***   ") + FromStd(error));
    ShowChordMarkers(AllNoFrets(), AllNoFrets());
    return false;
}

void TfrmMain::ShowChordMarkers(const FretArray& frets, const FretArray& hammers) {
    fretboard()->ShowChordMarkers(frets, hammers);
}

// A left press or a key release in the editor: the caret has reached its new place.
void TfrmMain::RichEdit1Refresh() {
    RichEdit1->setReadOnly(false);
    if (!IsPlaying())
        ShowLineStatus(CurrentLineIndex());
    else
        RichEdit1->setReadOnly(true);
}

void TfrmMain::RichEdit1KeyUp(int key) {
    RichEdit1Refresh();
    if (IsPlaying() || !settings().CursorPlays || (key != Qt::Key_Up && key != Qt::Key_Down))
        return;
    const int i = CurrentLineIndex();
    ShowLineStatus(i);
    const QString text = m_lines.lineText(i);
    if (IsCommentText(text) || IsBlankText(text))
        return;
    const ParsedLine parsed = ParseChordLine(i, true);
    if (!parsed.ok())
        return;
    m_play->PreviewChord(parsed.entry.Note, parsed.entry.HammerNote);
    fretboard()->setChordName(FromStd(parsed.entry.Name));
}

void TfrmMain::RichEdit1SelectionChange() {
    setStatusPanel(2, QStringLiteral("Line %1").arg(CurrentLineIndex() + 1));
}

} // namespace fw
