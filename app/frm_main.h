#pragma once
// The main window: it owns the program's state (the editor text is the document), builds the
// controls and wires their events to the chord core, the fretboard, the sound port and the
// exports. The work itself lives in the other folders; this class stays a composition root.
// Its methods are spread over frm_main_*.cpp files by concern.

#include "chords/chord_entry.h"
#include "chords/chord_parser.h"
#include "editor/line_editor.h"
#include "song_recovery.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class QToolButton;

namespace fw {

class DialogService;
enum class TabMode;
class FretboardView;
class TfrmOptions;
class MainSound;
class MidiFilePlayer;
class Tfrmfind;
class TfrmMidiPlayer;
struct Settings;

// Everything the main window needs from outside, so tests can supply their own.
struct MainWindowDeps {
    DialogService* dialogs = nullptr;     // modal interactions (required)
    MainSound* sound = nullptr;           // the port and player (required)
    MidiFilePlayer* filePlayer = nullptr; // the MIDI player window's device (none: no window)
    QStringList arguments;                // command-line arguments after the program name
    QString programPath;                  // for the file association
    // How often the recovery copy of an unsaved song is brought up to date, and where it is
    // kept (empty: DefaultRecoveryFolder()).
    std::chrono::milliseconds recoveryInterval = DefaultRecoveryInterval;
    QString recoveryFolder;
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(const MainWindowDeps& deps, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // --- State, under the names the program has always used -------------------------------
    int MaxFret = fw::MaxFret;
    QString CurrentDuration = QStringLiteral(" S");
    bool Modified = false;
    bool& StopRequested; // the flag the chord player watches during a play
    bool StatusHints = true;
    bool ActivatedOnce = false;
    int Tuning = 55555;
    std::array<int, 6> TuningOffset{};
    std::vector<ChordEntry> EntryList;

    Settings& settings() { return *m_settings; }
    LineEditor& lines() { return m_lines; }
    DialogService& dialogs() { return *m_deps.dialogs; }
    FretboardView* fretboard() const { return m_fretboard; }
    // True from the start of a play until it has really ended (also while it winds down after
    // a Stop, when the button already reads "Play").
    bool IsPlaying() const;
    QString statusPanel(int index) const;
    void setStatusPanel(int index, const QString& text);
    int tempo() const;
    void setTempo(int tempo);
    QString currentSongPath() const { return m_songPath; }

    // --- Parsing and line status ------------------------------------------------------------
    // Parses editor line `lineIndex`; clears the chord-name label first and shows the error in
    // a message box when asked.
    ParsedLine ParseChordLine(int lineIndex, bool showErrorBox);
    bool ShowLineStatus(int lineIndex);
    int CurrentLineIndex() const { return m_lines.currentLine(); }
    int LastSelectedLineIndex() const { return m_lines.lastSelectedLine(); }
    int nameLine() const { return m_nameLine; }

    // --- Composer operations on the editor -------------------------------------------------
    void ComposeChordLine(int line, const FretArray& frets, const FretArray& hammers);
    void InsertChordLine(const QString& name);
    void ResetLineToEmptyChord(int line);
    void SelectLine(int line, bool wholeLine);
    void FillDurationTicks(int whole);

    // --- Fretboard --------------------------------------------------------------------------
    void ShowChordMarkers(const FretArray& frets, const FretArray& hammers);
    void PlaceOrRemoveNote(int string, int position);
    void SetHammerOn(int string, int position);

    // --- Sound ------------------------------------------------------------------------------
    void PreviewChord(const NoteArray& notes, const NoteArray& hammerNotes);

    // --- Tunings ----------------------------------------------------------------------------
    void ApplyTuning(int code);
    void SetUserTuningCaption(int code);
    void TuningMenuClicked(QAction* item);

    // --- Songs ------------------------------------------------------------------------------
    // Reads the song into the editor and the song settings. A file that cannot be read is
    // reported and changes nothing; the result says whether the song was loaded.
    bool LoadSong(const QString& path);
    void LoadSongText(std::string text);
    bool AskSaveChanges();
    void OpenRecentFile(const QString& path);
    void DropFiles(const QStringList& paths);
    // Writes the song; false (after telling the user) when it could not be written.
    bool SaveSongTo(const QString& path);
    void AddRecentFile(const QString& path);
    void RefreshRecentMenu();
    void ResetToEmptyDocument();
    SongRecovery& recovery() { return *m_recovery; }
    // Offers the copies crashed runs left, newest first (frm_main_recovery.cpp): Yes opens one
    // as a modified song with its path and settings, No deletes it and offers the next. A damaged
    // copy is left alone, unoffered; a copy whose program still runs is never touched.
    void OfferRecovery();

    // --- Play engine ------------------------------------------------------------------------
    void PlayButtonPressed();
    void PlaySelection(int option);
    void PlayRange(int first, int last);
    void PlayLine(int index);
    bool BuildChordList(const QString& message, bool interactive);
    bool HasChordLine(int first, int last);
    void SetPlayingControls(bool enabled);
    void StepForward();
    void StepBack();

    // --- Chord dictionary (frm_main_dictionary.cpp) -----------------------------------------
    void LoadChordDictionary();
    // Writes the list to InstallDir/BCHORDS.DCT, making the folder when missing; a folder that
    // cannot be made or a file that cannot be written is reported. Nothing is written when the
    // file could not be read at start-up, so that it is never replaced by an empty list.
    void SaveChordDictionary();
    void ReplaceChordDictionary();
    // Sorting on sorts the list at once and keeps every added entry in its sorted place.
    void SetDictionarySorted(bool sorted);
    void AddDictionaryEntry(const QString& entry);
    QStringList dictionaryEntries() const;
    QString DictionaryPath() const;
    void cboDictionaryChange(const QString& entry);
    void NameChordFromFrets();
    void Options1Click();

    // --- Handlers (public so tests can drive them like the user does) -----------------------
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Print1Click();
    void SaveAsMidiFile1Click();
    void Tab1Click();
    void ASCIItab1Click();
    // Checks the chord list, asks for titles when TabPrompt is on, and shows the tablature
    // window in `mode`.
    void ShowTablature(TabMode mode);
    void SaveAsMusicXmlFile1Click();
    void btnNewChordClick();
    void btnRestClick();
    void btnDupClick();
    void btnClearClick();
    void btnDeleteClick();
    void DurationClick(const QString& letter);
    void edtNameExit();
    void btnShiftLeftClick();
    void btnShiftRightClick();
    void Edit1Click();
    void mnuEditorPopUpPopup();
    void Undo1Click();
    void Redo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void PasteTablature1Click();
    void ImportAsciiTab1Click();
    void Delete1Click();
    void SelectAll1Click();
    void Find1Click();
    void FindNext1Click();
    void MidiPlayer1Click();
    void NylonStringAcoustic1Click(QAction* item);
    void FormActivate();
    void FormResize();

    // --- Controls, named as the program has always named them --------------------------------
    QWidget* client = nullptr;
    FretboardView* m_fretboard = nullptr;
    QPushButton* btnNewChord = nullptr;
    QLabel* lblFilename = nullptr;
    QPlainTextEdit* RichEdit1 = nullptr;
    QGroupBox* grpEditControls = nullptr;
    QLineEdit* edtName = nullptr;
    QToolButton* btnShiftLeft = nullptr;
    QToolButton* btnShiftRight = nullptr;
    QPushButton* btnRest = nullptr;
    QPushButton* btnDup = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnDelete = nullptr;
    std::array<QToolButton*, 7> durationButtons{};
    QCheckBox* chkDotted = nullptr;
    QComboBox* cboDictionary = nullptr;
    QLabel* lblDictionary = nullptr;
    QGroupBox* grpPlayControls = nullptr;
    QGroupBox* rdoPlayOptions = nullptr;
    QButtonGroup* playOptionGroup = nullptr;
    QCheckBox* chkLoop = nullptr;
    QCheckBox* chkTrace = nullptr;
    QScrollBar* scrlTempo = nullptr;
    QLabel* lblSlower = nullptr;
    QLabel* lblFaster = nullptr;
    QLabel* lblTempo = nullptr;
    QWidget* pnlPlayButtons = nullptr;
    QPushButton* btnPlay = nullptr;
    QToolButton* btnNext = nullptr;
    QToolButton* btnPrev = nullptr;
    std::array<QLabel*, 3> statusPanels{};

    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuSpecial = nullptr;
    QMenu* mnuPlay = nullptr;
    QMenu* mnuInstrument = nullptr;
    QMenu* mnuTuning = nullptr;
    QMenu* mnuHelp = nullptr;
    QMenu* mnuEditorPopUp = nullptr;
    QAction *New1 = nullptr, *Open1 = nullptr, *Save1 = nullptr, *SaveAs1 = nullptr,
            *Print1 = nullptr, *Options1 = nullptr, *Exit1 = nullptr, *FilenameSep = nullptr;
    std::array<QAction*, 3> mnuFilename{};
    QAction *Undo1 = nullptr, *Redo1 = nullptr, *Cut1 = nullptr, *Copy1 = nullptr,
            *Paste1 = nullptr, *Delete1 = nullptr, *SelectAll1 = nullptr, *Find1 = nullptr,
            *FindNext1 = nullptr;
    QAction* NameChord1 = nullptr;
    QAction *PasteTablature1 = nullptr, *ImportAsciiTab1 = nullptr;
    QAction *Tab1 = nullptr, *ASCIItab1 = nullptr, *SaveAsMidiFile1 = nullptr,
            *MidiPlayer1 = nullptr;
    QAction* SaveAsMusicXmlFile1 = nullptr;
    QAction *Start1 = nullptr, *Stop1 = nullptr;
    QAction *AcousticNylonStringGuitar1 = nullptr, *MIDIPatch1 = nullptr;
    std::array<QAction*, 7> tuningItems{}; // index 5 is the separator
    QAction *Contents1 = nullptr, *Topics1 = nullptr, *About1 = nullptr;
    QAction *Cut2 = nullptr, *Copy2 = nullptr, *Paste2 = nullptr;
    QActionGroup* instrumentGroup = nullptr;
    QActionGroup* tuningGroup = nullptr;
    Tfrmfind* frmfind = nullptr;             // made at the first search
    TfrmMidiPlayer* frmMidiPlayer = nullptr; // made at the first showing

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void BuildControls();
    // The Edit menu's states are shown while it is open; afterwards its shortcuts act again on
    // the state at the key press, which each command checks itself.
    void EnableEditShortcuts();
    void BuildMenus();
    void ConnectEvents();
    void BuildDictionaryControls();
    void setDictionaryEntries(const QStringList& entries);
    void RegisterAssociation();
    void FormCreate();
    void FormClose();
    bool FormCloseQuery();
    void RichEdit1Refresh();
    void RichEdit1KeyUp(int key);
    void RichEdit1SelectionChange();
    void setSongPath(const QString& path);
    bool openSongFile(const QString& path);
    void focusEditor();
    void showError(const QString& text);
    QString songFileName() const;
    // The song file's text for the editor's lines and the song's patch, tuning and tempo.
    std::string SongText() const;
    void StartRecovery();
    // The export commands' shared steps: parse the list and refuse it with the command's
    // texts; ask where to save, named after the song (nothing when the user cancels); keep
    // the chosen folder as LastDir after a successful write.
    bool ReadyToExport(const QString& fixErrorsMessage, const QString& noChordsMessage);
    std::optional<QString> AskExportPath(const QString& title, const QString& extension,
                                         const QString& filter, const QString& defaultSuffix);
    void RememberLastDir(const QString& chosenFile);
    void Step(int direction);
    Tfrmfind& findDialog();
    void ShowNotFound();
    void ShowSilentNotice();

    MainWindowDeps m_deps;
    std::unique_ptr<Settings> m_settings;
    LineEditor m_lines{nullptr};
    QString m_songPath;
    int m_nameLine = 0;
    bool m_externalMidiAtStart = false;
    bool m_shutDown = false;
    bool m_playing = false; // from the start of a play until it has wound down
    bool m_dictionarySorted = false;
    bool m_dictionaryUnreadable = false;
    bool m_dictionaryCutAtNul = false;
    QStringList m_dictionaryAsLoaded; // only kept for a file that a NUL byte cut short
    TfrmOptions* m_options = nullptr; // made at the first showing, then reused
    SongRecovery* m_recovery = nullptr;
};

} // namespace fw
