#pragma once
// The real dialogs: QMessageBox, QFileDialog, QColorDialog and QPrintDialog, each modal over
// the window the user is working in (DialogParent), so that each opens centred over it.

#include "dialog_service.h"

class QWidget;

namespace fw {

// The title of message boxes that are given none.
inline constexpr const char* ApplicationTitle = "Fretwick";

class QtDialogService : public DialogService {
public:
    // `parent` (may be null) is the window dialogs belong to when no window of the program is
    // active, e.g. while the program starts.
    explicit QtDialogService(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    // The window a dialog shown now belongs to: the modal dialog in front (the Midi Player, the
    // settings), else the active window, else the parent given, else the main window (the first
    // visible top-level window with a menu bar). Null only when no window is shown at all.
    QWidget* DialogParent() const;

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
