#pragma once
// The one way the program edits the chord list: a line-oriented adapter over the editor.
// Lines are numbered from 0. A final line break does not start a further line in the count,
// but the caret may stand on the empty line after it; that index equals lineCount() and reads
// as an empty (blank) line.

#include <QString>
#include <QTextCursor>

class QPlainTextEdit;

namespace fw {

class LineEditor {
public:
    explicit LineEditor(QPlainTextEdit* editor) : m_editor(editor) {}

    QPlainTextEdit* widget() const { return m_editor; }

    int lineCount() const;
    // The text of line `index`; the empty text for an index past the last line.
    QString lineText(int index) const;

    // Replaces the text of line `index`. The index may be lineCount() (the empty line after a
    // final line break, or the only line of an empty document), which then becomes a line.
    void replaceLine(int index, const QString& text);
    // Inserts `text` as a new line at `index` (0..lineCount()); later lines move down.
    void insertLine(int index, const QString& text);
    // Removes line `index` with its line break. Nothing happens past the last line.
    void deleteLine(int index);

    // Index of the line that holds the selection start (the caret when nothing is selected).
    int currentLine() const;
    // Index of the line holding the last selected character (the character before the
    // selection end); when that line is empty and its index is above 1, the line before it.
    int lastSelectedLine() const;

    // Puts the caret at the start of line `index`, selecting the whole line when asked.
    void selectLine(int index, bool wholeLine);

    int selectionStart() const;
    int selectionLength() const;
    void setSelection(int start, int length);

    // Document position of the start of line `index` (the document end past the last line).
    int lineStartPosition(int index) const;

private:
    QPlainTextEdit* m_editor;
};

// Every edit made to the editor while an UndoStep lives is undone (and redone) as one step, so
// that a command which rewrites several lines is taken back whole. Steps may nest.
class UndoStep {
public:
    explicit UndoStep(const LineEditor& lines);
    ~UndoStep();
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    QTextCursor m_cursor;
};

} // namespace fw
