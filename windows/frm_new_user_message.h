#pragma once
// The welcome dialog "Welcome", offered on a user's first start: it asks whether to show the
// "Getting Started" help topic. Yes closes it with result 6, No (and Escape or the close box)
// with result 7.

#include "ui/fixed_dialog.h"

class QPushButton;

namespace fw {

class TfrmNewUserMessage : public FixedDialog {
    Q_OBJECT
public:
    static constexpr int Yes = 6; // the dialog's result for "Yes"
    static constexpr int No = 7;  // ... and for "No"

    explicit TfrmNewUserMessage(QWidget* parent = nullptr);

    // Closing without an answer means No.
    void reject() override;

    QPushButton* btnYes; // "Yes", the default button
    QPushButton* btnNo;  // "No"
};

} // namespace fw
