// The Special menu's tablature commands: the checks, the titles box and the tablature window.

#include "frm_main.h"
#include "qt_text.h"

#include "app/shell/dialog_service.h"
#include "app/shell/settings.h"
#include "export/tab_titles.h"
#include "export/tablature/frm_get_tab_info.h"
#include "export/tablature/frm_tab.h"

#include <QApplication>

namespace fw {

namespace {

// The hourglass while the chord list is checked; gone before any window opens.
class CheckingCursor {
public:
    CheckingCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CheckingCursor() { Done(); }
    void Done() {
        if (active_)
            QApplication::restoreOverrideCursor();
        active_ = false;
    }
    CheckingCursor(const CheckingCursor&) = delete;
    CheckingCursor& operator=(const CheckingCursor&) = delete;

private:
    bool active_ = true;
};

// Hints of the tablature windows' controls must not land in the main window's status bar.
class HintsOff {
public:
    explicit HintsOff(bool& hints) : hints_(hints) { hints_ = false; }
    ~HintsOff() { hints_ = true; }
    HintsOff(const HintsOff&) = delete;
    HintsOff& operator=(const HintsOff&) = delete;

private:
    bool& hints_;
};

} // namespace

void TfrmMain::Tab1Click() {
    ShowTablature(TabMode::Graphic);
    focusEditor();
}

void TfrmMain::ASCIItab1Click() {
    ShowTablature(TabMode::Ascii);
    focusEditor();
}

void TfrmMain::ShowTablature(TabMode mode) {
    CheckingCursor cursor;
    if (!BuildChordList(QStringLiteral("Fix errors before viewing tab."), true))
        return;
    if (!HasChordLine(0, static_cast<int>(EntryList.size()) - 1)) {
        cursor.Done();
        showError(QStringLiteral("Can't create tab. No chords defined in editor."));
        return;
    }
    TabSource source;
    const int count = m_lines.lineCount();
    source.lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        source.lines.push_back(ToStd(m_lines.lineText(i)));
    source.entries = EntryList;
    source.songPath = m_songPath;
    source.tuningText = statusPanel(1);
    cursor.Done();

    HintsOff hints(StatusHints);
    std::optional<ConfirmedTitles> titles;
    if (settings().TabPrompt) {
        TfrmGetTabInfo info(this);
        info.SetSong(source.lines, FromStd(DefaultTabTitle(ToStd(m_songPath))));
        if (dialogs().ShowModal(info) != QDialog::Accepted)
            return;
        titles = ConfirmedTitles{info.Title(), info.Subtitle()};
    }
    TfrmTab tab(dialogs(), this);
    const TabSettings tabSettings{settings().TabPrompt, settings().ShowTabNoteDurations,
                                  settings().TabFont, settings().LastDir};
    tab.Open(mode, std::move(source), tabSettings, titles);
    dialogs().ShowModal(tab);
}

} // namespace fw
