#include "tablature_import.h"
#include "ui/qt_text.h"

#include "app/shell/file_dialog_start.h"
#include "chords/chord_parser.h"
#include "chords/text_bounds.h"
#include "chords/text_file.h"
#include "chords/tuning.h"
#include "editor/line_editor.h"
#include "ui/dialog_service.h"

#include <QApplication>
#include <QClipboard>
#include <QStringList>

#include <new>
#include <string_view>

namespace fw {

namespace {

// False, after telling the user, when the reading holds no chord line.
bool HasTablature(DialogService& dialogs, const TabReading& reading) {
    if (reading.chordLines > 0)
        return true;
    dialogs.Message(FromStd(std::string(NoBanjoTablatureFound)), MessageIcon::Error,
                    MessageButtons::Ok);
    return false;
}

bool IsChordText(const QString& line) {
    return !IsBlankText(line) && !IsCommentText(line);
}

} // namespace

std::optional<TabReading> ReadClipboardTablature(DialogService& dialogs, int tuningCode) {
    QString refusal;
    try {
        const QString text = QApplication::clipboard()->text();
        // Checked before any copy is made: a clipboard over the editor's bounds is refused.
        const std::string over =
            TextBoundsError(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())),
                            // A long staff is fine: the reader makes short chord lines of it.
                            TextBounds{static_cast<std::size_t>(-1), MaxTextLines});
        if (over.empty()) {
            TabReading reading = ReadAsciiTab(ToStd(text), tuningCode);
            if (!HasTablature(dialogs, reading))
                return std::nullopt;
            return reading;
        }
        refusal = QStringLiteral("Pasting the tablature failed: %1.").arg(FromStd(over));
    } catch (const std::bad_alloc&) {
        refusal = QStringLiteral("There is not enough memory to paste this tablature.");
    }
    dialogs.Message(refusal, MessageIcon::Error, MessageButtons::Ok);
    return std::nullopt;
}

std::optional<TablatureFile> AskTablatureFile(DialogService& dialogs, const QString& folder) {
    FileDialogRequest request;
    request.title = QApplication::translate("fw::TfrmMain", "Import ASCII Tablature");
    request.directory = DialogStartFolder(QString(), folder); // never the working folder
    request.filter =
        QStringLiteral("Tablature files (*.tab *.TAB *.Tab *.txt *.TXT *.Txt);;All Files (*)");
    const std::optional<QString> chosen = dialogs.OpenFile(request);
    if (!chosen)
        return std::nullopt;
    std::string error;
    try {
        std::string text;
        if (ReadBoundedTextFile(ToStd(*chosen), text, error)) {
            TabReading reading = ReadAsciiTab(text, ReferenceTuningCode);
            if (!HasTablature(dialogs, reading))
                return std::nullopt;
            return TablatureFile{*chosen, std::move(reading)};
        }
    } catch (const std::bad_alloc&) {
        error = NotEnoughMemoryToOpen(ToStd(*chosen));
    }
    dialogs.Message(FromStd(error), MessageIcon::Error, MessageButtons::Ok);
    return std::nullopt;
}

TablaturePaste PasteAt(const LineEditor& lines, int index, std::vector<std::string> read) {
    while (read.back().empty())
        read.pop_back();
    // The measures of the song on either side stay apart from the tablature's.
    int first = index;
    if (index > 0 && IsChordText(lines.lineText(index - 1))) {
        read.insert(read.begin(), std::string());
        ++first;
    }
    const int last = index + static_cast<int>(read.size()) - 1;
    if (IsChordText(lines.lineText(index)))
        read.emplace_back();
    return {JoinedLines(read), first, last};
}

QString JoinedLines(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines)
        texts << FromStd(line);
    return texts.join(QLatin1Char('\n'));
}

void NoticeImport(DialogService& dialogs, const TabReading& reading,
                  std::optional<int> keptTuning) {
    if (const std::string notice = ImportNotice(reading, keptTuning); !notice.empty())
        dialogs.Message(FromStd(notice), MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace fw
