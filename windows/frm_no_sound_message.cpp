#include "frm_no_sound_message.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace fw {

TfrmNoSoundMessage::TfrmNoSoundMessage(const QString& openError, QWidget* parent)
    : FixedDialog(QStringLiteral("frmNoSoundMessage"), QStringLiteral("Error opening sound device"),
                  parent) {
    QLabel* heading =
        MakeLabel(QStringLiteral("lblHeading"),
                  QStringLiteral("There was an error opening  the MIDI device/Sound card:"), true);
    lblOpenError = MakeLabel(QStringLiteral("lblOpenError"), openError);
    lblOpenError->setWordWrap(true);
    lblOpenError->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QLabel* goingOn = MakeLabel(QStringLiteral("lblWithoutSound"),
                                QStringLiteral("Program will function without sound."));
    for (QLabel* label : {heading, lblOpenError, goingOn})
        label->setAlignment(Qt::AlignCenter);
    // The wrapped error text is as wide as the heading above it.
    lblOpenError->setFixedWidth(heading->sizeHint().width());

    btnOK = MakeButton(QStringLiteral("btnOK"), QStringLiteral("OK"), true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* main = new QVBoxLayout;
    main->addWidget(heading);
    main->addWidget(lblOpenError);
    main->addWidget(goingOn);
    main->addSpacing(4);
    main->addWidget(btnOK, 0, Qt::AlignHCenter);
    SetFixedLayout(main);
}

void TfrmNoSoundMessage::SetOpenError(const QString& text) {
    lblOpenError->setText(text);
}

} // namespace fw
