#pragma once
// Tuning > Capo...: the fret the capo sits at, 0 (no capo) to 12. The song keeps it in its
// "* Capo: N" line; this dialog only asks for the number.

#include <QDialog>

class QSpinBox;

namespace fw {

class TfrmCapo : public QDialog {
    Q_OBJECT
public:
    // Starts at `capo` (brought into 0..12).
    explicit TfrmCapo(int capo, QWidget* parent = nullptr);

    int capo() const;

    QSpinBox* spnCapo; // the fret, 0..12
};

} // namespace fw
