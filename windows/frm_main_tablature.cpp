// The Special menu's tablature commands: the checks, the titles box and the tablature window.

#include "frm_main.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include "app/shell/settings.h"
#include "chords/capo.h"
#include "chords/tuning.h"
#include "export/tab_titles.h"
#include "frm_get_tab_info.h"
#include "frm_tab.h"
#include "ui/dialog_service.h"

namespace fw {

namespace {

// The forms the settings choose; rhythm is shown at all only with "Show Note Durations".
TabOptions TabFormsOf(const Settings& settings) {
    TabOptions forms;
    if (settings.ShowTabNoteDurations)
        forms.rhythm = settings.TabStems ? TabRhythm::Stems : TabRhythm::Letters;
    forms.bars = settings.TabBarsFromMeter ? TabBars::Meter : TabBars::BlankLines;
    forms.neckFrets = settings.TabNeckFrets;
    forms.letterMarks = settings.TabHpMarks;
    forms.chordNames = settings.TabChordNames;
    forms.stringNames = settings.TabStringNames;
    return forms;
}

} // namespace

namespace {

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
    FocusEditor();
}

void TfrmMain::ASCIItab1Click() {
    ShowTablature(TabMode::Ascii);
    FocusEditor();
}

void TfrmMain::ShowTablature(TabMode mode) {
    WaitCursor cursor;
    if (!m_play->BuildChordList(QStringLiteral("Fix errors before viewing tab."), true))
        return;
    if (!m_play->HasChordLine(0, static_cast<int>(m_play->EntryList.size()) - 1)) {
        cursor.Done();
        ShowError(QStringLiteral("Can't create tab. No chords defined in editor."));
        return;
    }
    TabSource source;
    const int count = m_lines.lineCount();
    source.lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        source.lines.push_back(ToStd(m_lines.lineText(i)));
    source.entries = m_play->EntryList;
    source.songPath = m_document->path();
    source.tuningText =
        FromStd(TuningStatusText(m_document->Tuning()) + TabCapoText(m_document->Capo()));
    source.tuningCode = m_document->Tuning();
    cursor.Done();

    HintsOff hints(StatusHints);
    std::optional<ConfirmedTitles> titles;
    if (settings().TabPrompt) {
        TfrmGetTabInfo info(this);
        info.SetSong(source.lines, FromStd(DefaultTabTitle(ToStd(m_document->path()))));
        if (dialogs().ShowModal(info) != QDialog::Accepted)
            return;
        titles = ConfirmedTitles{info.Title(), info.Subtitle()};
    }
    TfrmTab tab(dialogs(), this);
    TabSettings tabSettings{settings().TabPrompt,   settings().ShowTabNoteDurations,
                            settings().TabFont,     settings().LastDir,
                            TabFormsOf(settings()), settings().TabZoom,
                            settings().TabPageView};
    tab.Open(mode, std::move(source), tabSettings, titles);
    dialogs().ShowModal(tab);
    // The zoom and the page view are kept for the next showing.
    if (mode == TabMode::Graphic) {
        settings().TabZoom = tab.zoomPercent();
        settings().TabPageView = tab.pageView();
    }
}

} // namespace fw
