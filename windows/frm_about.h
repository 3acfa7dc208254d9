#pragma once
// The About box "About": the program's name, a picture and its version, closed with OK
// (Enter or Escape).

#include "ui/fixed_dialog.h"

class QLabel;
class QPushButton;

namespace fw {

class TfrmAbout : public FixedDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    // Showing the box sets lblVersion to the program's version.
    void setVisible(bool visible) override;

    QLabel* lblVersion;
    QPushButton* btnOK; // "OK": default and cancel button
};

} // namespace fw
