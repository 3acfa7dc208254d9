#include "chord_text_edit.h"

#include <QKeyEvent>
#include <QMimeData>

#include "chords/text_bounds.h"

#include <new>
#include <string>

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

bool ChordTextEdit::PasteText(const QString& text) {
    try {
        const std::string over =
            TextBoundsError(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())));
        if (!over.empty()) {
            emit pasteRefused(
                QStringLiteral("Pasting failed: %1.").arg(QString::fromStdString(over)));
            return false;
        }
        insertPlainText(WithPlainLineBreaks(text));
        return true;
    } catch (const std::bad_alloc&) {
        emit pasteRefused(QStringLiteral("There is not enough memory to paste this text."));
        return false;
    }
}

void ChordTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    PasteText(source->text());
}

} // namespace fw
