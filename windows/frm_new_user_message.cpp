#include "frm_new_user_message.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace fw {

TfrmNewUserMessage::TfrmNewUserMessage(QWidget* parent)
    : FixedDialog(QStringLiteral("frmNewUserMessage"), QStringLiteral("Welcome"), parent) {
    QLabel* title =
        MakeLabel(QStringLiteral("lblTitle"), QStringLiteral("Welcome to Fretwick"), true, 4);
    QLabel* question =
        MakeLabel(QStringLiteral("lblQuestion"),
                  QStringLiteral("Would you like to see the 'Getting Started' help topic?"));
    btnYes = MakeButton(QStringLiteral("btnYes"), QStringLiteral("Yes"), true);
    connect(btnYes, &QPushButton::clicked, this, [this] { done(Yes); });
    btnNo = MakeButton(QStringLiteral("btnNo"), QStringLiteral("No"));
    connect(btnNo, &QPushButton::clicked, this, [this] { done(No); });

    auto* text = new QVBoxLayout;
    text->setSpacing(10);
    text->addWidget(title);
    text->addWidget(question);
    LayOutBesidePicture(84, text, {btnYes, btnNo});
}

void TfrmNewUserMessage::reject() {
    done(No);
}

} // namespace fw
