#pragma once
// The chord-list editor: a plain-text editor in which every line break is an ordinary one.
// Shift+Enter starts a new line as Enter does (a plain text editor would insert a soft line
// break, U+2028, which looks like a new line but is none), and pasted or dropped text has its
// Unicode line and paragraph separators turned into line breaks, so that the editor shows
// exactly the lines that the parser, the song file and every export see. A pasted text over the
// editor's bounds (text_bounds.h), which would exhaust memory or crash its layout, is refused.

#include <QPlainTextEdit>

namespace fw {

// `text` with every U+2028 (line separator) and U+2029 (paragraph separator) made "\n".
QString WithPlainLineBreaks(QString text);

class ChordTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ChordTextEdit(QWidget* parent = nullptr);

    // Inserts `text` at the cursor as a paste: refused with pasteRefused, the editor unchanged,
    // when it is beyond the editor's bounds or memory runs out. Every paste goes through here
    // (Ctrl+V, Edit > Paste, the pop-up menu, a drop). Returns whether it was inserted.
    bool PasteText(const QString& text);

signals:
    // A paste or drop was refused, unchanged, because its text is beyond what the editor can
    // hold (a line too long or too many lines, or not enough memory); `reason` is a sentence.
    void pasteRefused(const QString& reason);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace fw
