// Writing chord lines into the editor (the composer) and the fretboard's clicks, which always
// end by rewriting the current line.

#include "frm_main.h"
#include "ui/qt_text.h"

#include "chords/chord_composer.h"
#include "editor/fretboard_view.h"

#include <QPlainTextEdit>

namespace fw {

void TfrmMain::ComposeChordLine(int line, const FretArray& frets, const FretArray& hammers) {
    m_lines.replaceLine(line, FromStd(ComposeChordText(frets, hammers, ToStd(CurrentDuration))));
    ShowLineStatus(line);
}

void TfrmMain::InsertChordLine(const QString& name) {
    int index = CurrentLineIndex();
    if (index != m_lines.lineCount())
        ++index;
    m_lines.insertLine(index, FromStd(InsertChordText(ToStd(name), ToStd(CurrentDuration))));
    SelectLine(index, true);
    ShowLineStatus(index);
    FocusEditor();
}

void TfrmMain::ResetLineToEmptyChord(int line) {
    m_lines.replaceLine(line, FromStd(EmptyChordText(ToStd(CurrentDuration))));
    SelectLine(line, true);
    ShowLineStatus(line);
    FocusEditor();
}

void TfrmMain::SelectLine(int line, bool wholeLine) {
    m_lines.selectLine(line, wholeLine);
    FocusEditor();
}

namespace {
// The preview of one string: every other string silent.
void PreviewOneString(TfrmMain& main, int string, std::uint8_t note, std::uint8_t hammerNote) {
    NoteArray notes = AllNoNotes();
    NoteArray hammers = AllNoNotes();
    notes[string] = note;
    hammers[string] = hammerNote;
    if (main.IsPlaying())
        return; // the stop request of a play that winds down must stay
    main.playSession().StopRequested = false;
    main.playSession().PreviewChord(notes, hammers);
}

std::uint8_t PreviewPitch(int string, int position) {
    const int fret = string == 5 ? position - 5 : position;
    return static_cast<std::uint8_t>(OpenPitch[string] + fret);
}

int FretOfPosition(int string, int position) {
    return string == 5 ? position - 5 : position;
}
} // namespace

void TfrmMain::PlaceOrRemoveNote(int string, int position) {
    if (IsPlaying() || (string == 5 && position < 5))
        return;
    const UndoStep step(m_lines);
    // A filled marker removes the string's note, but only from a chord line: the neck may still
    // show an earlier chord while the caret stands on a comment or a blank line, which a click
    // never writes over; there it places the note as on a hidden marker.
    const QString currentText = m_lines.lineText(CurrentLineIndex());
    const bool onChordLine = !IsCommentText(currentText) && !IsBlankText(currentText);
    if (onChordLine && fretboard()->markerState(string, position) != MarkerState::Hidden) {
        const ParsedLine parsed = ParseChordLine(CurrentLineIndex(), true);
        if (parsed.ok()) {
            FretArray frets = parsed.entry.Fret;
            FretArray hammers = parsed.entry.HammerFret;
            frets[string] = NoFret;
            hammers[string] = NoFret;
            ComposeChordLine(CurrentLineIndex(), frets, hammers);
        } else {
            ComposeChordLine(CurrentLineIndex(), AllNoFrets(), AllNoFrets());
        }
        return;
    }

    // Placing a note needs a chord line to write it into.
    {
        const int line = CurrentLineIndex();
        const QString text = m_lines.lineText(line);
        if (IsCommentText(text) || !ParseChordLine(line, false).ok())
            InsertChordLine(QStringLiteral("Chord"));
    }
    if (IsBlankText(m_lines.lineText(CurrentLineIndex())))
        ResetLineToEmptyChord(CurrentLineIndex());

    PreviewOneString(*this, string, PreviewPitch(string, position), NoNote);
    const int fret = FretOfPosition(string, position);
    fretboard()->ShowStringMarkers(string, fret, NoFret);

    const int line = CurrentLineIndex();
    const ParsedLine parsed = ParseChordLine(line, true);
    FretArray frets = parsed.entry.Fret;
    FretArray hammers = parsed.entry.HammerFret;
    frets[string] = fret;
    hammers[string] = NoFret;
    ComposeChordLine(line, frets, hammers);
}

void TfrmMain::SetHammerOn(int string, int position) {
    if (IsPlaying() || (string == 5 && position < 5))
        return;
    const UndoStep step(m_lines);
    const int line = CurrentLineIndex();
    const QString text = m_lines.lineText(line);
    if (IsCommentText(text) || IsBlankText(text))
        return;
    const ParsedLine current = ParseChordLine(line, false);
    if (!current.ok())
        return;
    const int target = FretOfPosition(string, position);
    if (current.entry.Fret[string] == NoFret || current.entry.Fret[string] == target)
        return;

    PreviewOneString(*this, string, current.entry.Note[string], PreviewPitch(string, position));
    fretboard()->ShowStringMarkers(string, current.entry.Fret[string], target);

    const ParsedLine parsed = ParseChordLine(line, true);
    FretArray hammers = parsed.entry.HammerFret;
    hammers[string] = target;
    ComposeChordLine(line, parsed.entry.Fret, hammers);
}

} // namespace fw
