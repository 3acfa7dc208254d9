#pragma once
// A DialogService for tests. No message box, file, colour or print dialog is shown: each call
// is recorded in a log and answered by the next queued answer when that answer is of the
// call's kind. Without a fitting answer the call gets the default (the Escape answer of a
// message box, a cancelled file, colour or print dialog, the close box of a modal dialog) and
// the log says so; a queued answer of another kind stays queued, so PendingAnswers() shows a
// script that went out of step.

#include "dialog_service.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace fw {

enum class DialogKind { Message, OpenFile, SaveFile, Color, Print, Modal };

// One recorded call.
struct DialogCall {
    DialogKind kind = DialogKind::Message;
    QString text;  // message text; the window title of a modal dialog
    QString title; // message box title as given (empty = application title); file dialog title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    FileDialogRequest file; // open and save dialogs
    QString dialogName;     // the object name of a modal dialog
    bool scripted = false;  // false when the default answer was given
    QString answer;         // what was returned: "Yes", a path, "cancelled", "6", "#ff0000"...
};

class ScriptedDialogService : public DialogService {
public:
    // Queue answers, consumed in order by calls of the same kind.
    void AnswerMessage(DialogAnswer answer);
    void AnswerOpenFile(std::optional<QString> path); // nothing = the user cancels
    void AnswerSaveFile(std::optional<QString> path);
    void AnswerColor(std::optional<QColor> color);
    void AnswerPrint(bool accepted);
    // The user accepts the print dialog having chosen to print to the PDF file `path`.
    void AnswerPrintToFile(const QString& path);
    // Modal dialogs are shown (not modally), then closed by the answer, then hidden; the call
    // returns the dialog's result, as exec() would. The default answer is the close box:
    // QDialog::reject().
    void AnswerModal(int result); // the dialog is closed with done(result)
    // `act` works on the shown dialog instead of a user: fills controls, clicks buttons. A dialog
    // it leaves open is then rejected.
    void AnswerModal(std::function<void(QDialog&)> act);

    const std::vector<DialogCall>& Log() const { return log_; }
    // The texts of the message boxes shown so far, in order.
    QStringList MessageTexts() const;
    void ClearLog() { log_.clear(); }
    std::size_t PendingAnswers() const { return queue_.size(); }

    DialogAnswer Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                         const QString& title = {}) override;
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<QColor> PickColor(const QColor& initial) override;
    bool Print(QPrinter& printer) override;
    int ShowModal(QDialog& dialog) override;

private:
    struct Scripted {
        explicit Scripted(DialogKind k) : kind(k) {}
        DialogKind kind;
        DialogAnswer message = DialogAnswer::Ok;
        std::optional<QString> path;
        std::optional<QColor> color;
        bool accepted = false;
        QString printFile; // print to this PDF file
        std::function<void(QDialog&)> act;
    };

    // Removes and returns the front answer when it is of `kind` and `fits` it.
    std::optional<Scripted> Take(DialogKind kind, const std::function<bool(const Scripted&)>& fits);
    std::optional<QString> FileCall(DialogKind kind, const FileDialogRequest& request);
    // Appends a call to the log and returns it for the caller to fill in.
    DialogCall& Record(DialogKind kind, bool scripted, const QString& answer);

    std::deque<Scripted> queue_;
    std::vector<DialogCall> log_;
};

// The name of an answer as the log writes it: "OK", "Cancel", "Yes", "No".
QString AnswerName(DialogAnswer answer);

} // namespace fw
