#include "chord_text_edit.h"

#include <QKeyEvent>
#include <QMimeData>

namespace fw {

QString WithPlainLineBreaks(QString text) {
    for (QChar& ch : text)
        if (ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator)
            ch = QLatin1Char('\n');
    return text;
}

ChordTextEdit::ChordTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

void ChordTextEdit::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::InsertLineSeparator)) {
        // The same key without Shift: an ordinary Enter, with its read-only and undo rules.
        QKeyEvent enter(e->type(), e->key(), e->modifiers() & ~Qt::ShiftModifier, e->text(),
                        e->isAutoRepeat(), static_cast<ushort>(e->count()));
        QPlainTextEdit::keyPressEvent(&enter);
        e->setAccepted(enter.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void ChordTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData plain;
    plain.setText(WithPlainLineBreaks(source->text()));
    QPlainTextEdit::insertFromMimeData(&plain);
}

} // namespace fw
