#include "fixed_dialog.h"

#include "window_placement.h"

#include <QBoxLayout>
#include <QLabel>

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

QLabel* FixedDialog::MakeLabel(const QString& name, const QString& text, bool bold,
                               int pointSizeStep) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(bold);
    if (pointSizeStep != 0)
        font.setPointSizeF(font.pointSizeF() + pointSizeStep);
    label->setFont(font);
    return label;
}

void FixedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

} // namespace fw
