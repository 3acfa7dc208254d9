#include "qt_dialog_service.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

#include <utility>
#include <vector>

namespace fw {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(DialogAnswer answer) {
    switch (answer) {
    case DialogAnswer::Ok:
        return QMessageBox::Ok;
    case DialogAnswer::Yes:
        return QMessageBox::Yes;
    case DialogAnswer::No:
        return QMessageBox::No;
    case DialogAnswer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

// The buttons of a set, in the order they are offered; the first is the default button.
std::vector<DialogAnswer> AnswersOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return {DialogAnswer::Ok};
    case MessageButtons::CancelOnly:
        return {DialogAnswer::Cancel};
    case MessageButtons::YesNo:
        return {DialogAnswer::Yes, DialogAnswer::No};
    case MessageButtons::YesNoCancel:
        break;
    }
    return {DialogAnswer::Yes, DialogAnswer::No, DialogAnswer::Cancel};
}

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QWidget* QtDialogService::DialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (parent_)
        return parent_;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && qobject_cast<QMainWindow*>(window))
            return window;
    }
    return nullptr;
}

DialogAnswer QtDialogService::Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                                      const QString& title) {
    QMessageBox box(ToQtIcon(icon), title.isEmpty() ? QString(ApplicationTitle) : title, text,
                    QMessageBox::NoButton, DialogParent());
    // Messages quote chord lines and file names: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    std::vector<std::pair<QAbstractButton*, DialogAnswer>> offered;
    for (DialogAnswer answer : AnswersOf(buttons))
        offered.emplace_back(box.addButton(ToQtButton(answer)), answer);
    box.setDefaultButton(qobject_cast<QPushButton*>(offered.front().first));
    for (const auto& [button, answer] : offered)
        if (answer == EscapeAnswer(buttons))
            box.setEscapeButton(button);
    box.exec();
    for (const auto& [button, answer] : offered)
        if (box.clickedButton() == button)
            return answer;
    return EscapeAnswer(buttons);
}

std::optional<QString> QtDialogService::OpenFile(const FileDialogRequest& request) {
    return RunFileDialog(DialogParent(), request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogService::SaveFile(const FileDialogRequest& request) {
    return RunFileDialog(DialogParent(), request, QFileDialog::AcceptSave);
}

std::optional<QColor> QtDialogService::PickColor(const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, DialogParent());
    if (!color.isValid())
        return std::nullopt;
    return color;
}

bool QtDialogService::Print(QPrinter& printer) {
    QPrintDialog dialog(&printer, DialogParent());
    return dialog.exec() == QDialog::Accepted;
}

int QtDialogService::ShowModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace fw
