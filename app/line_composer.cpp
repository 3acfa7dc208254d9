#include "line_composer.h"

#include "chords/chord_composer.h"
#include "editor/fretboard_view.h"
#include "editor/line_editor.h"
#include "ui/qt_text.h"

namespace fw {

namespace {
std::uint8_t PreviewPitch(int string, int position) {
    const int fret = string == 5 ? position - 5 : position;
    return static_cast<std::uint8_t>(OpenPitch[string] + fret);
}

// The neck counts the 5th string's frets from the nut; its chord lines from the 5th fret.
int FretOfPosition(int string, int position) {
    return string == 5 ? position - 5 : position;
}
} // namespace

LineComposer::LineComposer(PlayView& view, PlaySession& play, FretboardView& neck)
    : view_(view), play_(play), neck_(neck) {}

void LineComposer::ComposeChordLine(int line, const FretArray& frets, const FretArray& hammers) {
    view_.lines().replaceLine(line, FromStd(ComposeChordText(frets, hammers, ToStd(duration_))));
    view_.ShowLineStatus(line);
}

void LineComposer::InsertChordLine(const QString& name) {
    LineEditor& lines = view_.lines();
    int index = lines.currentLine();
    if (index != lines.lineCount())
        ++index;
    lines.insertLine(index, FromStd(InsertChordText(ToStd(name), ToStd(duration_))));
    view_.SelectLine(index, true);
    view_.ShowLineStatus(index);
    view_.FocusEditor();
}

void LineComposer::ResetLineToEmptyChord(int line) {
    view_.lines().replaceLine(line, FromStd(EmptyChordText(ToStd(duration_))));
    view_.SelectLine(line, true);
    view_.ShowLineStatus(line);
    view_.FocusEditor();
}

// The preview of one string: every other string silent.
void LineComposer::PreviewOneString(int string, std::uint8_t note, std::uint8_t hammerNote) {
    NoteArray notes = AllNoNotes();
    NoteArray hammers = AllNoNotes();
    notes[string] = note;
    hammers[string] = hammerNote;
    if (play_.IsPlaying())
        return; // the stop request of a play that winds down must stay
    play_.StopRequested = false;
    play_.PreviewChord(notes, hammers);
}

void LineComposer::PlaceOrRemoveNote(int string, int position) {
    if (play_.IsPlaying() || (string == 5 && position < 5))
        return;
    LineEditor& lines = view_.lines();
    const UndoStep step(lines);
    // A filled marker removes the string's note, but only from a chord line: the neck may still
    // show an earlier chord while the caret stands on a comment or a blank line, which a click
    // never writes over; there it places the note as on a hidden marker.
    const QString currentText = lines.lineText(lines.currentLine());
    const bool onChordLine = !IsCommentText(currentText) && !IsBlankText(currentText);
    if (onChordLine && neck_.markerState(string, position) != MarkerState::Hidden) {
        const ParsedLine parsed = view_.ParseChordLine(lines.currentLine(), true);
        if (parsed.ok()) {
            FretArray frets = parsed.entry.Fret;
            FretArray hammers = parsed.entry.HammerFret;
            frets[string] = NoFret;
            hammers[string] = NoFret;
            ComposeChordLine(lines.currentLine(), frets, hammers);
        } else {
            ComposeChordLine(lines.currentLine(), AllNoFrets(), AllNoFrets());
        }
        return;
    }

    // Placing a note needs a chord line to write it into.
    const QString text = lines.lineText(lines.currentLine());
    if (IsCommentText(text) || !view_.ParseChordLine(lines.currentLine(), false).ok())
        InsertChordLine(QStringLiteral("Chord"));
    if (IsBlankText(lines.lineText(lines.currentLine())))
        ResetLineToEmptyChord(lines.currentLine());

    PreviewOneString(string, PreviewPitch(string, position), NoNote);
    const int fret = FretOfPosition(string, position);
    neck_.ShowStringMarkers(string, fret, NoFret);

    const int line = lines.currentLine();
    const ParsedLine parsed = view_.ParseChordLine(line, true);
    FretArray frets = parsed.entry.Fret;
    FretArray hammers = parsed.entry.HammerFret;
    frets[string] = fret;
    hammers[string] = NoFret;
    ComposeChordLine(line, frets, hammers);
}

void LineComposer::SetHammerOn(int string, int position) {
    if (play_.IsPlaying() || (string == 5 && position < 5))
        return;
    LineEditor& lines = view_.lines();
    const UndoStep step(lines);
    const int line = lines.currentLine();
    const QString text = lines.lineText(line);
    if (IsCommentText(text) || IsBlankText(text))
        return;
    const ParsedLine current = view_.ParseChordLine(line, false);
    if (!current.ok())
        return;
    const int target = FretOfPosition(string, position);
    if (current.entry.Fret[string] == NoFret || current.entry.Fret[string] == target)
        return;

    PreviewOneString(string, current.entry.Note[string], PreviewPitch(string, position));
    neck_.ShowStringMarkers(string, current.entry.Fret[string], target);

    const ParsedLine parsed = view_.ParseChordLine(line, true);
    FretArray hammers = parsed.entry.HammerFret;
    hammers[string] = target;
    ComposeChordLine(line, parsed.entry.Fret, hammers);
}

void LineComposer::NewLine() {
    LineEditor& lines = view_.lines();
    const UndoStep step(lines);
    const int i = lines.currentLine();
    const int n = lines.lineCount();
    if (i == n) {
        // The caret is on the empty line after a final line break.
        lines.insertLine(n, QString());
        view_.ShowLineStatus(n + 1);
        view_.SelectLine(n + 1, true);
    } else {
        lines.insertLine(i + 1, QString());
        view_.SelectLine(i + 1, false);
        view_.ShowLineStatus(i + 1);
    }
    view_.FocusEditor();
}

void LineComposer::InsertRest() {
    const UndoStep step(view_.lines());
    InsertChordLine(QStringLiteral("Rest"));
}

void LineComposer::DuplicateLine() {
    LineEditor& lines = view_.lines();
    const int i = lines.currentLine();
    const QString text = lines.lineText(i);
    if (IsCommentText(text) || IsBlankText(text))
        return; // the focus stays where it is
    const ParsedLine parsed = view_.ParseChordLine(i, true);
    if (parsed.ok()) {
        const UndoStep step(lines);
        const int caret = lines.selectionStart();
        lines.insertLine(i, text);
        lines.setSelection(caret, 0);
        view_.SelectLine(lines.currentLine(), true);
        play_.PreviewChord(parsed.entry.Note, parsed.entry.HammerNote);
        view_.SelectLine(lines.currentLine(), true);
    }
    view_.FocusEditor();
}

void LineComposer::ClearLine() {
    LineEditor& lines = view_.lines();
    const UndoStep step(lines);
    const int i = lines.currentLine();
    const QString text = lines.lineText(i);
    if (!IsCommentText(text) && !IsBlankText(text)) {
        ComposeChordLine(i, AllNoFrets(), AllNoFrets());
        view_.ShowLineStatus(i);
    }
    view_.FocusEditor();
}

void LineComposer::DeleteLine() {
    LineEditor& lines = view_.lines();
    const UndoStep step(lines);
    lines.deleteLine(lines.currentLine());
    view_.ShowLineStatus(lines.currentLine());
    view_.FocusEditor();
}

void LineComposer::SetDuration(const QString& letter, bool dotted, bool triplet) {
    LineEditor& lines = view_.lines();
    const UndoStep step(lines);
    duration_ =
        FromStd(DurationTextFor(letter.isEmpty() ? 'Q' : letter.at(0).toLatin1(), dotted, triplet));
    const int i = lines.currentLine();
    if (view_.ParseChordLine(i, false).isChord()) {
        lines.replaceLine(i, FromStd(WithDuration(ToStd(lines.lineText(i)), ToStd(duration_))));
        view_.ShowLineStatus(i);
    }
    view_.FocusEditor();
}

bool LineComposer::RenameLine(int line, const QString& name) {
    LineEditor& lines = view_.lines();
    const UndoStep step(lines);
    const ParsedLine parsed = view_.ParseChordLine(line, false);
    if (parsed.ok() && !parsed.isChord())
        return false;
    if (parsed.ok() && !IsBlankText(name)) {
        lines.replaceLine(line, FromStd(RenamedLine(ToStd(lines.lineText(line)), ToStd(name))));
        neck_.setChordName(name);
    }
    view_.FocusEditor();
    return true;
}

void LineComposer::Transpose(TransposeDirection direction) {
    LineEditor& lines = view_.lines();
    {
        const UndoStep step(lines);
        const int i = lines.currentLine();
        if (view_.ParseChordLine(i, false).isChord()) {
            // A chord with no string played (a rest) stays as it is written.
            if (const auto moved =
                    TransposedLine(ToStd(lines.lineText(i)), direction, ToStd(duration_)))
                lines.replaceLine(i, FromStd(*moved));
            const ParsedLine after = view_.ParseChordLine(i, true);
            if (after.isChord())
                play_.PreviewChord(after.entry.Note, after.entry.HammerNote);
            view_.ShowLineStatus(i);
        }
    }
    view_.FocusEditor();
}

} // namespace fw
