#pragma once
// The real dialogs: QMessageBox, QFileDialog, QColorDialog and QPrintDialog, each modal over
// the parent window given at construction.

#include "dialog_service.h"

class QWidget;

namespace fw {

// The title of message boxes that are given none.
inline constexpr const char* ApplicationTitle = "Fretwick";

class QtDialogService : public DialogService {
public:
    // `parent` (may be null) owns the dialogs while they are shown and centres them.
    explicit QtDialogService(QWidget* parent = nullptr) : parent_(parent) {}

    DialogAnswer Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                         const QString& title = {}) override;
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<QColor> PickColor(const QColor& initial) override;
    bool Print(QPrinter& printer) override;
    int ShowModal(QDialog& dialog) override;

private:
    QWidget* parent_;
};

} // namespace fw
