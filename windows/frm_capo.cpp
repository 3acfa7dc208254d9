#include "frm_capo.h"

#include "chords/capo.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace fw {

TfrmCapo::TfrmCapo(int capo, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCapo"));
    setWindowTitle(tr("Capo"));
    auto* label = new QLabel(tr("&Capo at fret:"), this);
    spnCapo = new QSpinBox(this);
    spnCapo->setObjectName(QStringLiteral("spnCapo"));
    spnCapo->setRange(0, MaxCapo);
    spnCapo->setValue(std::clamp(capo, 0, MaxCapo));
    spnCapo->setSpecialValueText(tr("No capo"));
    label->setBuddy(spnCapo);
    auto* note = new QLabel(tr("Chord lines keep their frets, counted from the capo; everything "
                               "that sounds is raised by the capo, the 5th string too (spiked "
                               "or tuned up). The song keeps it in a \"* Capo:\" line."),
                            this);
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(spnCapo, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(note);
    layout->addWidget(buttons);
    spnCapo->setFocus();
    spnCapo->selectAll();
}

int TfrmCapo::capo() const {
    return spnCapo->value();
}

} // namespace fw
