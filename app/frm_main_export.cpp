// Exports from the Special menu, and printing the chord list.

#include "frm_main.h"
#include "qt_text.h"

#include "app/shell/dialog_service.h"
#include "app/shell/settings.h"
#include "export/midi_file_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QTextDocument>

namespace fw {

bool TfrmMain::ReadyToExport(const QString& fixErrorsMessage, const QString& noChordsMessage) {
    if (!BuildChordList(fixErrorsMessage, true))
        return false;
    if (!HasChordLine(0, static_cast<int>(EntryList.size()) - 1)) {
        showError(noChordsMessage);
        return false;
    }
    return true;
}

void TfrmMain::RememberLastDir(const QString& chosenFile) {
    settings().LastDir =
        QDir::toNativeSeparators(QFileInfo(chosenFile).absolutePath() + QLatin1Char('/'));
}

std::optional<QString> TfrmMain::AskExportPath(const QString& title, const QString& extension,
                                               const QString& filter,
                                               const QString& defaultSuffix) {
    FileDialogRequest request;
    request.title = title;
    request.directory = settings().LastDir;
    request.fileName = QFileInfo(m_songPath).completeBaseName() + extension;
    request.filter = filter;
    request.defaultSuffix = defaultSuffix;
    request.confirmOverwrite = true;
    return dialogs().SaveFile(request);
}

void TfrmMain::SaveAsMidiFile1Click() {
    if (!ReadyToExport(QStringLiteral("Fix errors before creating a midi file."),
                       QStringLiteral("Can't create midi file. No chords defined in editor.")))
        return;
    FillDurationTicks(MidiWholeNoteTicks);

    const std::optional<QString> chosen =
        AskExportPath(QStringLiteral("Save As Midi"), QStringLiteral(".MID"),
                      QStringLiteral("Midi files (*.mid);;All Files (*)"), QStringLiteral("mid"));
    if (!chosen)
        return;
    std::string error;
    if (!WriteMidiFile(ToStd(*chosen), EntryList, tempo(), settings().Patch, TuningOffset, error)) {
        showError(FromStd(error));
        return;
    }
    RememberLastDir(*chosen);
}

void TfrmMain::Print1Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(songFileName());
    if (!dialogs().Print(printer))
        return;
    RichEdit1->document()->print(&printer);
}

} // namespace fw
