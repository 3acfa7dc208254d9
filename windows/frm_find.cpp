#include "frm_find.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace fw {

Tfrmfind::Tfrmfind(QPlainTextEdit* editor, QWidget* parent)
    : FixedDialog(QStringLiteral("frmfind"), QStringLiteral("Find Text"), parent), editor_(editor) {
    Label1 = MakeLabel(QStringLiteral("Label1"), QStringLiteral("Text to find:"));
    Label1->setTextFormat(Qt::PlainText);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(220);
    Label1->setBuddy(Edit1);
    chkWholeWord = new QCheckBox(QStringLiteral("Whole Word"), this);
    chkWholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    chkMatchCase = new QCheckBox(QStringLiteral("Match Case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    btnOK = MakeButton(QStringLiteral("btnOK"), QStringLiteral("OK"), true);
    btnCancel = MakeButton(QStringLiteral("btnCancel"), QStringLiteral("Cancel"));

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(Label1);
    textRow->addWidget(Edit1, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(chkWholeWord);
    options->addSpacing(12);
    options->addWidget(chkMatchCase);
    options->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(textRow);
    left->addLayout(options);
    left->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    buttons->addStretch();
    auto* main = new QHBoxLayout;
    main->setSpacing(18);
    main->addLayout(left, 1);
    main->addLayout(buttons);
    SetFixedLayout(main);

    connect(Edit1, &QLineEdit::textChanged, this, &Tfrmfind::Edit1Change);
    connect(btnOK, &QPushButton::clicked, this, &Tfrmfind::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &Tfrmfind::reject);
}

void Tfrmfind::Edit1Change(const QString& text) {
    searchText_ = text;
}

void Tfrmfind::showEvent(QShowEvent* event) {
    FixedDialog::showEvent(event);
    FormActivate();
}

void Tfrmfind::FormActivate() {
    const QTextCursor selection = editor_->textCursor();
    const int length = selection.selectionEnd() - selection.selectionStart();
    // A selection over a line break cannot be typed into the one-line box, nor found.
    const QTextBlock first = editor_->document()->findBlock(selection.selectionStart());
    const bool oneLine = first.contains(selection.selectionEnd());
    if (length >= 1 && length <= MaxTakenOverLength && oneLine)
        Edit1->setText(selection.selectedText());
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->selectAll();
}

bool Tfrmfind::FindNextMatch() {
    QTextDocument::FindFlags flags;
    if (chkWholeWord->isChecked())
        flags |= QTextDocument::FindWholeWords;
    if (chkMatchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    QTextCursor cursor = editor_->textCursor();
    QTextCursor match;
    if (!searchText_.isEmpty())
        match = editor_->document()->find(searchText_, cursor.selectionEnd(), flags);
    if (!match.isNull()) {
        editor_->setTextCursor(match); // also scrolls the match into view
        outcome_ = Outcome::Found;
    } else {
        if (!searchText_.isEmpty()) {
            cursor.setPosition(cursor.selectionStart());
            editor_->setTextCursor(cursor);
        }
        outcome_ = Outcome::NotFound;
    }
    const QTextCursor now = editor_->textCursor();
    MatchStart = now.selectionStart();
    MatchLength = now.selectionEnd() - now.selectionStart();
    return outcome_ == Outcome::Found;
}

void Tfrmfind::btnOKClick() {
    FindNextMatch();
    accept();
}

void Tfrmfind::reject() {
    outcome_ = Outcome::Cancelled;
    MatchLength = 0;
    FixedDialog::reject();
}

} // namespace fw
