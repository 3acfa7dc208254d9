#include "fixed_dialog.h"

#include "banjo_picture.h"
#include "window_placement.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace fw {

FixedDialog::FixedDialog(const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
}

void FixedDialog::SetFixedLayout(QBoxLayout* layout) {
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setLayout(layout);
}

void FixedDialog::LayOutBesidePicture(int pictureSide, QBoxLayout* text,
                                      const QList<QPushButton*>& buttons) {
    auto* picture = new BanjoPicture(pictureSide, this);
    picture->setObjectName(QStringLiteral("imgLogo"));
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    auto* main = new QVBoxLayout;
    main->addLayout(top);
    main->addLayout(row);
    SetFixedLayout(main);
}

QPushButton* FixedDialog::MakeButton(const QString& name, const QString& text, bool isDefault) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setDefault(isDefault);
    return button;
}

QLabel* FixedDialog::MakeLabel(const QString& name, const QString& text, bool bold,
                               int pointSizeStep) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // error texts may quote the user's own text
    QFont font = label->font();
    font.setBold(bold);
    if (pointSizeStep != 0)
        font.setPointSizeF(font.pointSizeF() + pointSizeStep);
    label->setFont(font);
    return label;
}

void FixedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnParent(*this);
}

} // namespace fw
