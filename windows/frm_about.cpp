#include "frm_about.h"

#include "app/shell/program_version.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace fw {

TfrmAbout::TfrmAbout(QWidget* parent)
    : FixedDialog(QStringLiteral("frmAbout"), QStringLiteral("About"), parent) {
    QLabel* product =
        MakeLabel(QStringLiteral("lblProductName"), QStringLiteral("Fretwick"), true, 8);
    QLabel* description =
        MakeLabel(QStringLiteral("lblDescription"),
                  QStringLiteral("Chord lists, tablature and playback for the five-string banjo."));
    description->setWordWrap(true);
    description->setFixedWidth(250);
    QLabel* versionCaption =
        MakeLabel(QStringLiteral("lblVersionCaption"), QStringLiteral("Version"));
    lblVersion = MakeLabel(QStringLiteral("lblVersion"), QString());
    btnOK = MakeButton(QStringLiteral("btnOK"), QStringLiteral("OK"), true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    // "Version 1.0" reads as one line with one space between its two labels.
    auto* version = new QHBoxLayout;
    version->setSpacing(versionCaption->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    version->addWidget(versionCaption);
    version->addWidget(lblVersion);
    version->addStretch();
    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(description);
    text->addLayout(version);
    LayOutBesidePicture(136, text, {btnOK});
}

void TfrmAbout::setVisible(bool visible) {
    if (visible)
        lblVersion->setText(ProgramVersion());
    FixedDialog::setVisible(visible);
}

} // namespace fw
