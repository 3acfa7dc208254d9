#pragma once
// Reading ASCII banjo tablature for the chord list: from the clipboard's text or from a chosen
// file. Text without tablature is refused (the user is told) and changes nothing.

#include "export/ascii_tab_reader.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace fw {

class DialogService;
class LineEditor;

// The clipboard's tablature read in the song's tuning; nothing, after telling the user, when
// it holds none.
std::optional<TabReading> ReadClipboardTablature(DialogService& dialogs, int tuningCode);

struct TablatureFile {
    QString path;
    TabReading reading;
};
// Asks for a tablature file (starting in `folder`, else home), reads it and checks it; nothing when
// the user cancels or, after telling the user, when it cannot be read or holds no tablature.
std::optional<TablatureFile> AskTablatureFile(DialogService& dialogs, const QString& folder);

// The text to insert as line `index` of `lines`: the read lines without trailing empty ones,
// kept apart by an empty line from a chord line on either side; `first` and `last` are the
// lines of tablature once inserted.
struct TablaturePaste {
    QString text;
    int first = 0;
    int last = 0;
};
TablaturePaste PasteAt(const LineEditor& lines, int index, std::vector<std::string> read);

QString JoinedLines(const std::vector<std::string>& lines);
// What the reading assumed, read differently or left out, in one warning; nothing when there
// is nothing to say. `keptTuning`: the song's tuning when the tablature is pasted into it.
void NoticeImport(DialogService& dialogs, const TabReading& reading,
                  std::optional<int> keptTuning = std::nullopt);

} // namespace fw
