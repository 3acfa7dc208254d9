// The main window's life: creation, the reset to an empty document, the first activation,
// the close query, shutdown, and the window-wide events (hints, keys, resizing, drops).

#include "frm_main.h"
#include "app/main_sound.h"
#include "app/song_exports.h"
#include "practice_controls.h"
#include "ui/qt_text.h"

#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "app/shell/window_memory.h"
#include "chords/patch_names.h"
#include "chords/setting_values.h"
#include "chords/tuning.h"
#include "editor/fretboard_view.h"
#include "help_window.h"
#include "small_windows.h"
#include "ui/dialog_service.h"
#include "ui/window_placement.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace fw {

TfrmMain::TfrmMain(const MainWindowDeps& deps, QWidget* parent)
    : QMainWindow(parent), m_deps(deps), m_settings(std::make_unique<Settings>()),
      m_document(new SongDocument(m_settings->Patch)) {
    setObjectName(QStringLiteral("frmMain"));
    setupUi(this, m_deps.filePlayer != nullptr, m_document->textDocument());
    // Made before the controls that show its text, it goes after them, when the window closes.
    m_document->setParent(this);
    m_lines = LineEditor(RichEdit1);
    m_play = new PlaySession(*this, *m_deps.sound, *m_document, this);
    m_composer =
        std::make_unique<LineComposer>(static_cast<PlayView&>(*this), *m_play, *fretboard());
    m_exports = std::make_unique<SongExports>(*m_play, *m_document, m_lines, dialogs(), settings());
    connect(m_document, &SongDocument::pathChanged, this,
            [this](const QString& path) { ShowSongPath(path); });
    connect(m_document, &SongDocument::modifiedChanged, this, &TfrmMain::setWindowModified);
    connect(m_document, &SongDocument::capoChanged, this, [this] { ShowTuningStatus(); });
    m_deps.sound->syncState = [this](MidiPortSettings& port, ChordPlayerState& player) {
        port.Device = settings().Device;
        port.Channel = settings().Channel;
        port.Octave = settings().Octave;
        port.Patch = m_document->Patch();
        player.TuningOffset = m_document->TuningOffset();
        player.Tempo = tempo();
        player.HammerOns = settings().HammerOnsRing ? HammerOnSound::Ring : HammerOnSound::Quick;
    };
    m_deps.sound->port().BusyCursor = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    ConnectEvents();
    BuildDictionaryControls();
    FormCreate();
    BindPracticeControls(*this, settings(), this);
    CatchSongDrops();
    m_document->StartRecovery(m_deps.recoveryFolder, m_deps.recoveryInterval);
    // Typing goes on; the status bar says, once, that the song is not being kept safe.
    connect(&recovery(), &SongRecovery::copyFailed, this, [this](const QString& reason) {
        ShowStatusNote(
            QStringLiteral("The unsaved song could not be copied for recovery: %1").arg(reason));
    });
}

TfrmMain::~TfrmMain() {
    if (!m_shutDown)
        FormClose();
}

QString TfrmMain::statusPanel(int index) const {
    return statusPanels[index]->text();
}

void TfrmMain::setStatusPanel(int index, const QString& text) {
    statusPanels[index]->setText(text);
    // Panel 0 may be too narrow for a long error: its tool tip holds all of it.
    if (index == 0)
        statusPanels[0]->setToolTip(text.trimmed().isEmpty() ? QString() : text);
}

int TfrmMain::tempo() const {
    return m_document->tempo();
}

void TfrmMain::setTempo(int value) {
    scrlTempo->setValue(value);
}

void TfrmMain::FocusEditor() {
    RichEdit1->setFocus(Qt::OtherFocusReason);
}

void TfrmMain::ShowError(const QString& text) {
    dialogs().Message(text, MessageIcon::Error, MessageButtons::Ok);
}

void TfrmMain::ShowStatus(const QString& text) {
    setStatusPanel(0, text);
}

void TfrmMain::ShowStatusNote(const QString& text) {
    statusBar()->showMessage(text, 20000);
}

void TfrmMain::ShowChordName(const QString& name) {
    fretboard()->setChordName(name);
}

void TfrmMain::FormCreate() {
    MaxFret = fw::MaxFret;
    setWindowTitle(QStringLiteral("Fretwick"));
    resize(870, 640);
    // Never so small that the neck or the tallest column below it is cut off.
    const int clientHeight = minimumClientHeight();
    setMinimumSize(760, std::max(520, clientHeight + menuBar()->sizeHint().height() +
                                          statusBar()->sizeHint().height()));
    setAcceptDrops(true);

    FormResize();
    fretboard()->raise();
    btnNewChord->raise();

    setStatusPanel(0, QString());
    StatusHints = true;
    ActivatedOnce = false;
    FilenameSep->setVisible(false);
    for (QAction* item : mnuFilename)
        item->setVisible(false);

    // A damaged settings value takes its default; the program goes on and says so on stderr.
    *m_settings = LoadSettings([](const QString& problem) { qWarning("%s", qPrintable(problem)); });
    RestoreWindowPlace(*this, settings());

    if (settings().Associate)
        RegisterAssociation();
    RefreshRecentMenu();
    fretboard()->setShowChordName(settings().ShowChordName);
    fretboard()->setShowFretNumbers(settings().ShowFretNumbers);
    fretboard()->setMarkerColor(static_cast<quint32>(settings().MarkerColor));
    fretboard()->setMarkerShape(settings().MarkerShape);
    MIDIPatch1->setText(settings().MenuPatchName);
    MIDIPatch1->setData(settings().MenuPatchTag);
    tuningItems[UserTuningIndex]->setText(settings().MenuTuningName);
    tuningItems[UserTuningIndex]->setData(settings().MenuTuningTag);
    for (std::size_t i = 0; i < FixedTunings.size(); ++i) {
        tuningItems[i]->setText(QString::fromUtf8(FixedTunings[i].caption));
        tuningItems[i]->setData(FixedTunings[i].tag);
    }
    m_externalMidiAtStart = settings().ExternalMIDI;
    m_deps.sound->setExternalMidiActive(m_externalMidiAtStart);

    m_dictionary->LoadChordDictionary();
    scrlTempo->setRange(1, 500);
    ResetToEmptyDocument();
    // Before any song is read: a file a killed save left half written is put back first.
    RestoreInterruptedSaves();

    // An unquoted path with spaces arrives as several arguments: join the first five again.
    const QString joined = m_deps.arguments.mid(0, 5).join(QLatin1Char(' ')).trimmed();
    if (!m_deps.arguments.isEmpty() && QFileInfo(joined).isFile() &&
        QFileInfo(joined).suffix().toUpper() == QLatin1String("FWK") && LoadSong(joined)) {
        // Absolute: the same file wherever the program was started.
        m_document->setPath(QFileInfo(joined).absoluteFilePath());
        m_document->setModified(false);
        AddRecentFile(joined);
    }
    ShowLineStatus(0);
    // Typing goes into the chord list from the moment the window shows.
    FocusEditor();
}

void TfrmMain::ResetToEmptyDocument() {
    RichEdit1->clear();
    // What panel 0 said was about the song that goes.
    setStatusPanel(0, QString());
    m_document->setPath(QString());
    ShowChordMarkers(AllNoFrets(), AllNoFrets());
    playOptionGroup->button(0)->setChecked(true);
    chkLoop->setVisible(true);
    chkTrace->setVisible(true);
    fretboard()->setChordName(QString());
    setTempo(120);
    lblTempo->setText(QStringLiteral("120"));
    setStatusPanel(2, QStringLiteral("Line %1").arg(CurrentLineIndex() + 1));
    chkLoop->setChecked(false);
    chkTrace->setChecked(false);
    m_document->setPatch(BanjoPatch);
    AcousticNylonStringGuitar1->setChecked(true);
    ApplyTuning(ReferenceTuningCode);
    settings().Octave = 0;
    m_composer->resetDuration();
    ShowDuration();
    m_document->setModified(false);
}

void TfrmMain::FormActivate() {
    if (ActivatedOnce)
        return;
    ActivatedOnce = true;
    // Framed now: the title bar the desktop added must not push a restored window's bottom off
    // the screen.
    if (settings().WindowWidth > 0)
        KeepFrameOnScreen(*this);
    if (!settings().Welcomed) {
        settings().Welcomed = true;
        TfrmNewUserMessage welcome(this);
        if (dialogs().ShowModal(welcome) == TfrmNewUserMessage::Yes)
            ShowHelpContext(this, 14);
    }
    if (m_externalMidiAtStart) {
        const QString error = m_deps.sound->OpenMidiPort();
        m_deps.sound->SelectPatch();
        if (!error.isEmpty()) {
            TfrmNoSoundMessage noSound(error, this);
            dialogs().ShowModal(noSound);
        }
    }
    OfferRecovery();
    // Last, after the welcome and a recovered song: the last run's song, when asked for.
    const QString last = settings().RecentFile[0];
    if (settings().OpenLastSong && m_document->path().isEmpty() && !m_document->Modified() &&
        QFileInfo(last).isFile())
        OpenRecentFile(last);
}

bool TfrmMain::FormCloseQuery() {
    if (IsPlaying())
        return false;
    if (!m_document->Modified() || AskSaveChanges()) {
        m_play->StopRequested = true;
        return true;
    }
    return false;
}

void TfrmMain::FormClose() {
    m_shutDown = true;
    // A clean exit: the changes were saved or declined.
    recovery().Discard();
    m_play->EntryList.clear();
    m_dictionary->SaveChordDictionary();
    m_deps.sound->CloseMidiPort();
    SaveWindowPlace(*this, settings());
    QStringList problems;
    if (!SaveSettings(settings(), [&problems](const QString& problem) { problems << problem; }))
        dialogs().Message(problems.join(QLatin1Char('\n')), MessageIcon::Error, MessageButtons::Ok);
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    if (IsPlaying() && !std::exchange(m_closeAfterPlay, true)) // the play ends, then the close
        m_play->StopThen([this] { m_closeAfterPlay = false, close(); });
    if (IsPlaying())
        return e->ignore();
    if (!FormCloseQuery()) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

void TfrmMain::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !ActivatedOnce)
        QTimer::singleShot(0, this, [this] { FormActivate(); });
}

// Some desktops (and a bare X server) never activate a new window; its first showing counts.
void TfrmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!ActivatedOnce)
        QTimer::singleShot(0, this, [this] { FormActivate(); });
}

bool TfrmMain::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        // Hints go to status panel 0, not over the whole status bar.
        if (StatusHints)
            setStatusPanel(0, QLatin1Char(' ') + static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TfrmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TfrmMain::NylonStringAcoustic1Click(QAction* item) {
    m_document->setPatch(Low8Bits(item->data().toInt() - 1));
    item->setChecked(true);
    m_document->setModified(true);
}

} // namespace fw
