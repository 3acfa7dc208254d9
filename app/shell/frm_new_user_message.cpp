#include "frm_new_user_message.h"

#include "banjo_picture.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace fw {

TfrmNewUserMessage::TfrmNewUserMessage(QWidget* parent)
    : FixedDialog(QStringLiteral("frmNewUserMessage"), QStringLiteral("Welcome"), parent) {
    auto* picture = new BanjoPicture(84, this);
    picture->setObjectName(QStringLiteral("imgLogo"));
    QLabel* title =
        MakeLabel(QStringLiteral("lblTitle"), QStringLiteral("Welcome to Fretwick"), true, 4);
    QLabel* question =
        MakeLabel(QStringLiteral("lblQuestion"),
                  QStringLiteral("Would you like to see the 'Getting Started' help topic?"));

    btnYes = new QPushButton(QStringLiteral("Yes"), this);
    btnYes->setObjectName(QStringLiteral("btnYes"));
    btnYes->setDefault(true);
    connect(btnYes, &QPushButton::clicked, this, [this] { done(Yes); });
    btnNo = new QPushButton(QStringLiteral("No"), this);
    btnNo->setObjectName(QStringLiteral("btnNo"));
    connect(btnNo, &QPushButton::clicked, this, [this] { done(No); });

    auto* text = new QVBoxLayout;
    text->setSpacing(10);
    text->addWidget(title);
    text->addWidget(question);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnYes);
    buttons->addWidget(btnNo);
    auto* main = new QVBoxLayout;
    main->addLayout(top);
    main->addLayout(buttons);
    SetFixedLayout(main);
}

void TfrmNewUserMessage::reject() {
    done(No);
}

} // namespace fw
