#include "line_editor.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace fw {

namespace {
QTextDocument* Doc(QPlainTextEdit* editor) {
    return editor->document();
}
} // namespace

int LineEditor::lineCount() const {
    const QTextDocument* doc = Doc(m_editor);
    const int blocks = doc->blockCount();
    return doc->lastBlock().text().isEmpty() ? blocks - 1 : blocks;
}

QString LineEditor::lineText(int index) const {
    if (index < 0 || index >= lineCount())
        return {};
    return Doc(m_editor)->findBlockByNumber(index).text();
}

void LineEditor::replaceLine(int index, const QString& text) {
    const QTextBlock block = Doc(m_editor)->findBlockByNumber(index);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
    cursor.endEditBlock();
}

void LineEditor::insertLine(int index, const QString& text) {
    QTextDocument* doc = Doc(m_editor);
    const int count = lineCount();
    if (index < 0 || index > count)
        return;
    // The cursor stands where the edit happens before the edit block opens: Undo puts the
    // caret back where the block was opened.
    QTextCursor cursor(doc);
    if (index < doc->blockCount() && (index < count || doc->lastBlock().text().isEmpty())) {
        cursor.setPosition(doc->findBlockByNumber(index).position());
        cursor.beginEditBlock();
        cursor.insertText(text + QLatin1Char('\n'));
    } else {
        // The last line has no line break after it: the new line follows a new break.
        cursor.movePosition(QTextCursor::End);
        cursor.beginEditBlock();
        cursor.insertText(QLatin1Char('\n') + text);
    }
    cursor.endEditBlock();
}

void LineEditor::deleteLine(int index) {
    QTextDocument* doc = Doc(m_editor);
    if (index < 0 || index >= lineCount())
        return;
    const QTextBlock block = doc->findBlockByNumber(index);
    QTextCursor cursor(doc);
    if (block.next().isValid()) {
        cursor.setPosition(block.position());
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else if (block.previous().isValid()) {
        // The last line without a break of its own: take the break before it.
        cursor.setPosition(block.position() - 1);
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    } else {
        cursor.select(QTextCursor::Document);
    }
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

int LineEditor::currentLine() const {
    return Doc(m_editor)->findBlock(selectionStart()).blockNumber();
}

int LineEditor::lastSelectedLine() const {
    const int end = selectionStart() + selectionLength();
    if (end <= 0)
        return 0;
    const QTextBlock block = Doc(m_editor)->findBlock(end - 1);
    const int index = block.blockNumber();
    if (block.text().isEmpty() && index > 1)
        return index - 1;
    return index;
}

void LineEditor::selectLine(int index, bool wholeLine) {
    QTextDocument* doc = Doc(m_editor);
    QTextBlock block = doc->findBlockByNumber(index);
    if (!block.isValid())
        block = doc->lastBlock();
    QTextCursor cursor(block);
    if (wholeLine)
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
}

int LineEditor::selectionStart() const {
    return m_editor->textCursor().selectionStart();
}

int LineEditor::selectionLength() const {
    const QTextCursor cursor = m_editor->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void LineEditor::setSelection(int start, int length) {
    QTextCursor cursor(Doc(m_editor));
    const int last = Doc(m_editor)->characterCount() - 1;
    cursor.setPosition(std::clamp(start, 0, last));
    cursor.setPosition(std::clamp(start + length, 0, last), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
}

int LineEditor::lineStartPosition(int index) const {
    const QTextBlock block = Doc(m_editor)->findBlockByNumber(index);
    return block.isValid() ? block.position() : Doc(m_editor)->characterCount() - 1;
}

// Opened at the caret, so that taking the step back puts the caret where the command began
// instead of at the top of the song.
UndoStep::UndoStep(const LineEditor& lines) : m_cursor(lines.widget()->textCursor()) {
    m_cursor.beginEditBlock();
}

UndoStep::~UndoStep() {
    m_cursor.endEditBlock();
}

} // namespace fw
