#pragma once
// The dialog "Find Text": the text to look for in the chord list and how (whole words, letter
// case). It is made once and keeps its text and options, so that Find Next repeats the last
// search without showing it. The search runs forward from the end of the editor's selection
// to the end of the text, with the document's own find; there is no wrap-around.

#include "ui/fixed_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace fw {

class Tfrmfind : public FixedDialog {
    Q_OBJECT
public:
    enum class Outcome { Found, Cancelled, NotFound };

    // Searches `editor`, which must outlive the dialog.
    explicit Tfrmfind(QPlainTextEdit* editor, QWidget* parent = nullptr);

    // The text of Edit1 as of its last change; empty at first.
    const QString& SearchText() const { return searchText_; }
    Outcome outcome() const { return outcome_; }
    // The editor's selection after the last search.
    int MatchStart = 0;
    int MatchLength = 0;

    // Looks for the search text from the end of the editor's selection on, as a whole word and
    // in the same letter case when those boxes are checked (a word is made of letters and
    // digits). Found: the match is selected. Not found: the selection shrinks to its start. An
    // empty search text is never found and leaves the selection alone.
    bool FindNextMatch();

    // Run at each showing: a selection of 1 to 29 characters on one line becomes the search
    // text; then the text box has the focus with all of its text selected.
    void FormActivate();

    QLabel* Label1;
    QLineEdit* Edit1;
    QCheckBox* chkWholeWord;
    QCheckBox* chkMatchCase;
    QPushButton* btnOK;     // default button: search and close
    QPushButton* btnCancel; // Escape: close without searching

    // The longest selection taken over as the search text.
    static constexpr int MaxTakenOverLength = 29;

protected:
    void showEvent(QShowEvent* event) override;

public slots:
    // Escape and the close box cancel, as the Cancel button does.
    void reject() override;

private:
    void Edit1Change(const QString& text);
    void btnOKClick();

    QPlainTextEdit* editor_;
    QString searchText_;
    Outcome outcome_ = Outcome::Cancelled;
};

} // namespace fw
