#pragma once
// Writing chord lines into the editor: the neck's clicks, the edit group's buttons (new line,
// rest, duplicate, clear, delete, transpose) and the durations. Each operation is one undo step
// and ends by showing the line it touched through the view; none runs while a play does where a
// play must not be disturbed. No widget of the window is touched beyond the neck it reads and
// marks.

#include "app/play_session.h"
#include "chords/chord_entry.h"
#include "chords/line_edits.h"

#include <QString>

namespace fw {

class FretboardView;

class LineComposer {
public:
    LineComposer(PlayView& view, PlaySession& play, FretboardView& neck);

    // The duration written into new and rewritten chord lines: " S" until a duration is chosen.
    QString duration() const { return duration_; }
    void resetDuration() { duration_ = QStringLiteral(" S"); }

    // Rewrites `line` as a chord line with these frets, the name "Chord" and the duration.
    void ComposeChordLine(int line, const FretArray& frets, const FretArray& hammers);
    // Inserts a chord line with no string played under the caret's line (on the empty line
    // after a final line break: there) and selects it.
    void InsertChordLine(const QString& name);
    void ResetLineToEmptyChord(int line);

    // A click on the neck at (string, position): a shown marker of a chord line removes that
    // string's note; elsewhere the note is placed, making a chord line first when the caret is
    // not on one, and previewed. Nothing during a play, or below the 5th string's 5th fret.
    void PlaceOrRemoveNote(int string, int position);
    // A right click: the string's fretted note hammers on (or pulls off) to `position`. Nothing
    // on a line that is not a chord, on a silent string or on the note's own fret.
    void SetHammerOn(int string, int position);

    // New line under the caret's line, the caret on it.
    void NewLine();
    void InsertRest();
    // The chord line again above itself, previewed; a bad line is reported and stays single.
    void DuplicateLine();
    // Every string of a chord line silent; comments and blank lines stay.
    void ClearLine();
    void DeleteLine();
    // Chooses the duration (Q when no letter) and rewrites a chord line's duration with it.
    void SetDuration(const QString& letter, bool dotted, bool triplet = false);
    // Renames chord line `line` to `name` unless the name is blank; false when the line is not
    // a chord line (a comment or blank line: the name box is to be cleared).
    bool RenameLine(int line, const QString& name);
    // Moves a chord line's fretted notes one fret down or up, previewed; a rest stays as it is.
    void Transpose(TransposeDirection direction);

private:
    void PreviewOneString(int string, std::uint8_t note, std::uint8_t hammerNote);

    PlayView& view_;
    PlaySession& play_;
    FretboardView& neck_;
    QString duration_ = QStringLiteral(" S");
};

} // namespace fw
