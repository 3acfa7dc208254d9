// The play engine: Play/Stop, the four play options, looping, tracing, the step buttons and
// the controls that are greyed out while a play runs.

#include "frm_main.h"
#include "main_sound.h"
#include "qt_text.h"

#include "app/shell/dialog_service.h"
#include "chords/chord_composer.h"
#include "editor/fretboard_view.h"
#include "sound/chord_player.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace fw {

namespace {
// The hourglass while the list is parsed.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
} // namespace

bool TfrmMain::IsPlaying() const {
    return m_playing;
}

void TfrmMain::PlayButtonPressed() {
    // Stop comes first: whatever became of the editor meanwhile, a running play always ends,
    // and a press during its wind-down cannot start a play inside it.
    if (m_playing) {
        btnPlay->setText(QStringLiteral("Play"));
        btnPlay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
        StopRequested = true;
        return;
    }
    if (m_lines.lineCount() == 0) {
        showError(QStringLiteral("No chords to play - no lines in editor."));
        return;
    }
    bool built = false;
    {
        BusyCursor busy;
        built = BuildChordList(QString(), true);
    }
    if (!built)
        return;
    m_playing = true;
    btnPlay->setText(QStringLiteral("Stop"));
    btnPlay->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    PlaySelection(playOptionGroup->checkedId());
    ShowLineStatus(CurrentLineIndex());
    StopRequested = false;
    btnPlay->setText(QStringLiteral("Play"));
    btnPlay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_playing = false;
    ShowSilentNotice();
}

// Once per run, after a sounding that could not be heard, panel 0 says why. Callers run it
// after their own status updates, so that the notice is what remains.
void TfrmMain::ShowSilentNotice() {
    const QString notice = m_deps.sound->TakeSilentNotice();
    if (!notice.isEmpty())
        setStatusPanel(0, notice);
}

bool TfrmMain::BuildChordList(const QString& message, bool interactive) {
    EntryList.clear();
    const int count = m_lines.lineCount();
    EntryList.reserve(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        ParsedLine parsed = ParseChordLine(i, interactive);
        if (!parsed.ok()) {
            if (interactive)
                SelectLine(i, true);
            if (!IsBlankText(message))
                showError(message);
            return false;
        }
        EntryList.push_back(std::move(parsed.entry));
    }
    return true;
}

bool TfrmMain::HasChordLine(int first, int last) {
    BusyCursor busy;
    for (int i = first; i <= last; ++i)
        if (ParseChordLine(i, true).isChord())
            return true;
    return false;
}

void TfrmMain::PlaySelection(int option) {
    focusEditor();
    StopRequested = false;

    if (option == 3) {
        const int c = CurrentLineIndex();
        const ParsedLine parsed = ParseChordLine(c, true);
        if (!parsed.isChord()) {
            showError(QStringLiteral("Play Current Line option is selected and current line is "
                                     "not a chord definition."));
            focusEditor();
            return;
        }
        SetPlayingControls(false);
        const int selStart = m_lines.selectionStart();
        const int selLength = m_lines.selectionLength();
        SelectLine(c, true);
        const int ms = DurationValue(parsed.entry.Duration, WholeNoteMs(tempo()));
        MainSound& sound = *m_deps.sound;
        sound.AcquirePort();
        sound.SelectPatch();
        sound.PlayChord(parsed.entry.Note, parsed.entry.HammerNote, ms, true);
        sound.ReleasePort();
        if (selLength > 0)
            m_lines.setSelection(selStart, selLength);
        else
            SelectLine(c, false);
        SetPlayingControls(true);
        focusEditor();
        return;
    }

    const int selStart = m_lines.selectionStart();
    const int selLength = m_lines.selectionLength();
    const int n = static_cast<int>(EntryList.size());
    int first = 0;
    int last = n - 1;
    QString none = QStringLiteral("No chords to play in editor.");
    if (option == 1) {
        first = CurrentLineIndex();
        none = QStringLiteral("No chords to play from cursor.");
    } else if (option == 2) {
        if (selLength <= 0) {
            showError(QStringLiteral("Play Highlighted option is selected with no lines "
                                     "highlighted."));
            focusEditor();
            return;
        }
        first = CurrentLineIndex();
        last = LastSelectedLineIndex();
        none = QStringLiteral("No chords to play in highlighted lines.");
    }
    if (HasChordLine(first, last)) {
        SetPlayingControls(false);
        PlayRange(first, last);
        SetPlayingControls(true);
    } else {
        showError(none);
    }
    if (selLength > 0)
        m_lines.setSelection(selStart, selLength);
    focusEditor();
}

void TfrmMain::PlayRange(int first, int last) {
    FillDurationTicks(WholeNoteMs(tempo()));
    MainSound& sound = *m_deps.sound;
    sound.AcquirePort();
    sound.SelectPatch();
    // Chords are scheduled one after another from a single start, so long songs do not drift.
    sound.StartTimeline();
    do {
        for (int i = first; i <= last; ++i) {
            if (StopRequested)
                break;
            PlayLine(i);
        }
    } while (!StopRequested && chkLoop->isChecked());
    sound.ReleasePort();
}

void TfrmMain::PlayLine(int index) {
    if (index < 0 || index >= static_cast<int>(EntryList.size()))
        return;
    const ChordEntry entry = EntryList[static_cast<std::size_t>(index)];
    if (KindOf(entry) != LineKind::Chord)
        return;
    ShowChordMarkers(entry.Fret, entry.HammerFret);
    if (chkTrace->isChecked())
        SelectLine(index, true);
    m_fretboard->setChordName(FromStd(entry.Name));
    m_deps.sound->PlayTimelineChord(entry.Note, entry.HammerNote, entry.DurationTicks);
}

void TfrmMain::SetPlayingControls(bool enabled) {
    const QString titleColour =
        enabled ? QString() : QStringLiteral("QGroupBox::title { color: #808080; }");
    grpPlayControls->setStyleSheet(titleColour);
    grpEditControls->setStyleSheet(titleColour);
    Start1->setVisible(enabled);
    Stop1->setVisible(!enabled);
    const std::initializer_list<QWidget*> widgets = {
        grpPlayControls, btnNewChord, grpEditControls, btnPrev,  btnNext,   btnShiftLeft,
        btnShiftRight,   btnRest,     btnDup,          btnClear, btnDelete, cboDictionary,
        rdoPlayOptions,  chkTrace,    chkLoop,         chkDotted};
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
    for (QToolButton* button : durationButtons)
        button->setEnabled(enabled);
    for (QMenu* menu : {mnuFile, mnuEdit, mnuInstrument, mnuHelp, mnuSpecial, mnuTuning})
        menu->menuAction()->setEnabled(enabled);
}

namespace {
bool IsPlayableText(const QString& text) {
    return !IsBlankText(text) && !IsCommentText(text);
}
} // namespace

// One step: direction +1 plays forward, -1 backward.
void TfrmMain::Step(int direction) {
    const int count = m_lines.lineCount();
    int c = CurrentLineIndex();
    for (int i = c; i >= 0 && i < count; i += direction) {
        if (IsPlayableText(m_lines.lineText(i))) {
            c = i;
            break;
        }
    }
    if (!IsPlayableText(m_lines.lineText(c))) {
        showError(direction > 0 ? QStringLiteral("Can't step forward from this line")
                                : QStringLiteral("Can't step back from this line"));
        return;
    }
    ShowLineStatus(c);
    SelectLine(c, true);
    QApplication::processEvents(); // the highlight is drawn before the chord sounds
    const ParsedLine parsed = ParseChordLine(c, true);
    if (parsed.ok()) {
        PreviewChord(parsed.entry.Note, parsed.entry.HammerNote);
        m_fretboard->setChordName(FromStd(parsed.entry.Name));
    }
    for (int i = c + direction; i >= 0 && i < count; i += direction) {
        if (IsPlayableText(m_lines.lineText(i))) {
            ShowLineStatus(i);
            SelectLine(i, true);
            focusEditor();
            break;
        }
    }
}

void TfrmMain::StepForward() {
    Step(+1);
}
void TfrmMain::StepBack() {
    Step(-1);
}

void TfrmMain::PreviewChord(const NoteArray& notes, const NoteArray& hammerNotes) {
    // A running play holds the port and watches the stop flag; a preview meanwhile would close
    // the one under it, so nothing is previewed until the play has ended.
    if (m_playing)
        return;
    MainSound& sound = *m_deps.sound;
    sound.AcquirePort();
    sound.SelectPatch();
    sound.PlayChord(notes, hammerNotes, PreviewMs, false);
    sound.ReleasePort();
    // A preview's caller updates the line status after it: the notice comes after that.
    if (sound.SilentNoticeDue())
        QTimer::singleShot(0, this, [this] { ShowSilentNotice(); });
}

} // namespace fw
