#pragma once
// Base of the program's small fixed-size dialogs: the size follows the contents (so no text is
// ever cut) and cannot be changed by the user, and the dialog is centred on the window it
// belongs to (on the screen when it has none), inside the screen, each time it is shown.

#include <QDialog>

class QBoxLayout;
class QLabel;
class QPushButton;

namespace fw {

class FixedDialog : public QDialog {
    Q_OBJECT
protected:
    FixedDialog(const QString& objectName, const QString& caption, QWidget* parent);

    // Installs `layout` as the dialog's layout with the usual margins and a fixed size.
    void SetFixedLayout(QBoxLayout* layout);

    // Lays the dialog out as the program's banjo picture ("imgLogo", `pictureSide` pixels
    // square) beside `text`, with `buttons` in a row at the bottom right.
    void LayOutBesidePicture(int pictureSide, QBoxLayout* text, const QList<QPushButton*>& buttons);

    // A push button named `name`; `isDefault` makes it the button Enter presses.
    QPushButton* MakeButton(const QString& name, const QString& text, bool isDefault = false);

    // A label named `name` showing `text`; `pointSizeStep` enlarges the font, `bold` makes it
    // bold.
    QLabel* MakeLabel(const QString& name, const QString& text, bool bold = false,
                      int pointSizeStep = 0);

    void showEvent(QShowEvent* event) override;
};

} // namespace fw
