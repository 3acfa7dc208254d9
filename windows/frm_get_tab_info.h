#pragma once
// The titles box shown before tablature: the title and subtitle found in the chord list's
// comment lines (the song's file name when no title is found), for the user to confirm or edit
// for this showing only.

#include "ui/fixed_dialog.h"

#include <string>
#include <vector>

class QLineEdit;
class QPushButton;

namespace fw {

class TfrmGetTabInfo : public FixedDialog {
    Q_OBJECT
public:
    explicit TfrmGetTabInfo(QWidget* parent = nullptr);

    // The chord list the next showing reads its titles from, and the title used when the list
    // names none (the song's file name without folder and extension).
    void SetSong(std::vector<std::string> lines, QString defaultTitle);

    // The texts of the two boxes, as the user left them.
    QString Title() const;
    QString Subtitle() const;

    QLineEdit* edtTitle = nullptr;
    QLineEdit* edtSub = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    // Every showing fills the boxes afresh from the chord list.
    void showEvent(QShowEvent* event) override;

private:
    std::vector<std::string> lines_;
    QString defaultTitle_;
};

} // namespace fw
