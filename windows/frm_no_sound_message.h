#pragma once
// The dialog "Error opening sound device", shown at start-up when the MIDI port kept open for
// external MIDI cannot be opened: the reason, and that the program goes on without sound.

#include "ui/fixed_dialog.h"

class QLabel;
class QPushButton;

namespace fw {

class TfrmNoSoundMessage : public FixedDialog {
    Q_OBJECT
public:
    // `openError` is the port's error text, shown in lblOpenError (a long text wraps).
    explicit TfrmNoSoundMessage(const QString& openError = {}, QWidget* parent = nullptr);

    // Replaces the error text.
    void SetOpenError(const QString& text);

    QLabel* lblOpenError;
    QPushButton* btnOK; // "OK": closes the dialog with the OK result
};

} // namespace fw
