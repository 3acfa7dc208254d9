#include "scripted_dialog_service.h"

#include <QDialog>
#include <QPrinter>

#include <utility>

namespace fw {

namespace {
const QString Cancelled = QStringLiteral("cancelled");
}

QString AnswerName(DialogAnswer answer) {
    switch (answer) {
    case DialogAnswer::Ok:
        return QStringLiteral("OK");
    case DialogAnswer::Yes:
        return QStringLiteral("Yes");
    case DialogAnswer::No:
        return QStringLiteral("No");
    case DialogAnswer::Cancel:
        break;
    }
    return QStringLiteral("Cancel");
}

QStringList ScriptedDialogService::MessageTexts() const {
    QStringList texts;
    for (const DialogCall& call : log_)
        if (call.kind == DialogKind::Message)
            texts << call.text;
    return texts;
}

void ScriptedDialogService::AnswerMessage(DialogAnswer answer) {
    queue_.push_back(Scripted{DialogKind::Message});
    queue_.back().message = answer;
}

void ScriptedDialogService::AnswerOpenFile(std::optional<QString> path) {
    queue_.push_back(Scripted{DialogKind::OpenFile});
    queue_.back().path = std::move(path);
}

void ScriptedDialogService::AnswerSaveFile(std::optional<QString> path) {
    queue_.push_back(Scripted{DialogKind::SaveFile});
    queue_.back().path = std::move(path);
}

void ScriptedDialogService::AnswerColor(std::optional<QColor> color) {
    queue_.push_back(Scripted{DialogKind::Color});
    queue_.back().color = color;
}

void ScriptedDialogService::AnswerPrint(bool accepted) {
    queue_.push_back(Scripted{DialogKind::Print});
    queue_.back().accepted = accepted;
}

void ScriptedDialogService::AnswerPrintToFile(const QString& path) {
    AnswerPrint(true);
    queue_.back().printFile = path;
}

void ScriptedDialogService::AnswerModal(int result) {
    AnswerModal([result](QDialog& dialog) { dialog.done(result); });
}

void ScriptedDialogService::AnswerModal(std::function<void(QDialog&)> act) {
    queue_.push_back(Scripted{DialogKind::Modal});
    queue_.back().act = std::move(act);
}

DialogCall& ScriptedDialogService::Record(DialogKind kind, bool scripted, const QString& answer) {
    DialogCall& call = log_.emplace_back();
    call.kind = kind;
    call.scripted = scripted;
    call.answer = answer;
    return call;
}

std::optional<ScriptedDialogService::Scripted>
ScriptedDialogService::Take(DialogKind kind, const std::function<bool(const Scripted&)>& fits) {
    if (queue_.empty() || queue_.front().kind != kind || !fits(queue_.front()))
        return std::nullopt;
    Scripted front = std::move(queue_.front());
    queue_.pop_front();
    return front;
}

DialogAnswer ScriptedDialogService::Message(const QString& text, MessageIcon icon,
                                            MessageButtons buttons, const QString& title) {
    const auto scripted = Take(DialogKind::Message, [buttons](const Scripted& s) {
        return OffersAnswer(buttons, s.message);
    });
    const DialogAnswer answer = scripted ? scripted->message : EscapeAnswer(buttons);
    DialogCall& call = Record(DialogKind::Message, scripted.has_value(), AnswerName(answer));
    call.text = text;
    call.title = title;
    call.icon = icon;
    call.buttons = buttons;
    return answer;
}

std::optional<QString> ScriptedDialogService::FileCall(DialogKind kind,
                                                       const FileDialogRequest& request) {
    const auto scripted = Take(kind, [](const Scripted&) { return true; });
    const std::optional<QString> path = scripted ? scripted->path : std::nullopt;
    DialogCall& call = Record(kind, scripted.has_value(), path.value_or(Cancelled));
    call.text = request.fileName;
    call.title = request.title;
    call.file = request;
    return path;
}

std::optional<QString> ScriptedDialogService::OpenFile(const FileDialogRequest& request) {
    return FileCall(DialogKind::OpenFile, request);
}

std::optional<QString> ScriptedDialogService::SaveFile(const FileDialogRequest& request) {
    return FileCall(DialogKind::SaveFile, request);
}

std::optional<QColor> ScriptedDialogService::PickColor(const QColor& initial) {
    const auto scripted = Take(DialogKind::Color, [](const Scripted&) { return true; });
    const std::optional<QColor> color = scripted ? scripted->color : std::nullopt;
    Record(DialogKind::Color, scripted.has_value(), color ? color->name() : Cancelled).text =
        initial.name();
    return color;
}

bool ScriptedDialogService::Print(QPrinter& printer) {
    const auto scripted = Take(DialogKind::Print, [](const Scripted&) { return true; });
    const bool accepted = scripted && scripted->accepted;
    if (accepted && !scripted->printFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(scripted->printFile);
    }
    Record(DialogKind::Print, scripted.has_value(),
           accepted ? QStringLiteral("accepted") : Cancelled);
    return accepted;
}

int ScriptedDialogService::ShowModal(QDialog& dialog) {
    const auto scripted = Take(DialogKind::Modal, [](const Scripted&) { return true; });
    dialog.setResult(0);
    dialog.show();
    if (scripted)
        scripted->act(dialog);
    if (dialog.isVisible())
        dialog.reject();
    const int result = dialog.result();
    DialogCall& call = Record(DialogKind::Modal, scripted.has_value(), QString::number(result));
    call.text = dialog.windowTitle();
    call.dialogName = dialog.objectName();
    return result;
}

} // namespace fw
