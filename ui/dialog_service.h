#pragma once
// The one seam for every modal interaction of the program: message boxes, file dialogs, the
// colour and print dialogs, and showing any dialog modally. The program uses QtDialogService;
// tests use ScriptedDialogService, which records each call and returns scripted answers.

#include <QColor>
#include <QString>

#include <optional>

class QDialog;
class QPrinter;

namespace fw {

enum class MessageIcon { None, Information, Warning, Error };

// The button sets a message box can offer.
enum class MessageButtons { Ok, CancelOnly, YesNo, YesNoCancel };

// The button the user pressed.
enum class DialogAnswer { Ok, Cancel, Yes, No };

// The answer a message box gives when the user presses Escape or closes it: Ok for a box with
// only OK, No for Yes/No, Cancel for Cancel only and for Yes/No/Cancel.
DialogAnswer EscapeAnswer(MessageButtons buttons);

// Whether `answer` is one of the buttons of `buttons`.
bool OffersAnswer(MessageButtons buttons, DialogAnswer answer);

// What an open or save dialog starts with.
struct FileDialogRequest {
    QString title;
    QString directory;            // starting folder; empty = the toolkit's choice
    QString fileName;             // preselected file name, with or without a folder
    QString filter;               // Qt syntax, e.g. "Fretwick files (*.fwk);;All Files (*)"
    QString defaultSuffix;        // added to a typed name without a suffix, e.g. "fwk"
    bool confirmOverwrite = true; // save dialogs: ask before replacing an existing file
};

class DialogService {
public:
    virtual ~DialogService() = default;

    // Shows `text` in a modal message box with the icon and buttons given and returns the button
    // pressed; Escape or the close box give EscapeAnswer(buttons). An empty title means the
    // application title "Fretwick".
    virtual DialogAnswer Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                                 const QString& title = {}) = 0;

    // Lets the user pick an existing file. Returns its full path, or nothing when cancelled.
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;

    // Lets the user name a file to write. Returns its full path, or nothing when cancelled.
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;

    // Lets the user pick a colour, starting at `initial`. Returns nothing when cancelled.
    virtual std::optional<QColor> PickColor(const QColor& initial) = 0;

    // Shows the print dialog for `printer` (not null), which it configures. True when the user
    // accepted, false when cancelled.
    virtual bool Print(QPrinter& printer) = 0;

    // Shows `dialog` modally and returns its result code (QDialog::exec's value).
    virtual int ShowModal(QDialog& dialog) = 0;
};

} // namespace fw
