#pragma once
// The main window: it builds the controls (MainControls) and wires their events to the song
// document, the play session, the chord core, the fretboard and the exports. The state lives
// in those objects; this class holds no public data and stays a composition root. Its methods
// are spread over frm_main_*.cpp files by concern.

#include "app/chord_dictionary_box.h"
#include "app/line_composer.h"
#include "app/play_session.h"
#include "app/song_document.h"
#include "chords/chord_entry.h"
#include "chords/chord_parser.h"
#include "editor/line_editor.h"
#include "main_controls.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;

namespace fw {

class DialogService;
enum class TabMode;
class TfrmOptions;
class MainSound;
class MidiFilePlayer;
class SongExports;
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

class TfrmMain : public QMainWindow, private MainControls, private PlayView {
    Q_OBJECT
public:
    explicit TfrmMain(const MainWindowDeps& deps, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // --- The objects that hold the state -----------------------------------------------------
    MainControls& ui() { return *this; }
    SongDocument& document() { return *m_document; }
    PlaySession& playSession() { return *m_play; }
    Settings& settings() { return *m_settings; }
    LineEditor& lines() override { return m_lines; }
    DialogService& dialogs() { return *m_deps.dialogs; }
    FretboardView* fretboard() const { return MainControls::fretboard; }
    // Writes chord lines: the neck's clicks, the edit group and the durations.
    LineComposer& composer() { return *m_composer; }
    // The duration written into new and rewritten chord lines (" S" until a duration button).
    QString currentDuration() const { return m_composer->duration(); }
    // False while a dialog's hints must not reach the status bar.
    bool statusHints() const { return StatusHints; }
    void setStatusHints(bool on) { StatusHints = on; }
    bool IsPlaying() const { return m_play->IsPlaying(); }
    QString statusPanel(int index) const;
    void setStatusPanel(int index, const QString& text);
    int tempo() const;
    void setTempo(int tempo);
    QString currentSongPath() const { return m_document->path(); }

    // --- Parsing and line status ------------------------------------------------------------
    // Parses editor line `lineIndex`; clears the chord-name label first and shows the error in
    // a message box when asked.
    ParsedLine ParseChordLine(int lineIndex, bool showErrorBox) override;
    bool ShowLineStatus(int lineIndex) override;
    int CurrentLineIndex() const { return m_lines.currentLine(); }
    int LastSelectedLineIndex() const { return m_lines.lastSelectedLine(); }
    int nameLine() const { return m_nameLine; }

    void SelectLine(int line, bool wholeLine) override;
    void FollowLine(int line) override;
    void ShowChordMarkers(const FretArray& frets, const FretArray& hammers) override;

    // --- Tunings ----------------------------------------------------------------------------
    void ApplyTuning(int code);
    void SetUserTuningCaption(int code);
    void TuningMenuClicked(QAction* item);
    // Status panel 1: the checked tuning item's caption and the song's capo (", capo 2").
    void ShowTuningStatus();
    void Capo1Click();

    // --- Songs ------------------------------------------------------------------------------
    // Reads the song into the editor and the song settings. A file that cannot be read is
    // reported and changes nothing; the result says whether the song was loaded.
    bool LoadSong(const QString& path);
    // LoadSongText; false, after telling the user and leaving an empty document, when memory ran
    // out on the way.
    bool LoadSongTextOrTell(const QString& path, std::string text);
    void LoadSongText(std::string text);
    bool AskSaveChanges();
    void OpenRecentFile(const QString& path);
    // File > Examples: an item per installed example song (the menu hidden when there is none);
    // an example opens like a song whose Save asks where to save, since the installed file is
    // not the user's.
    void FillExamplesMenu();
    void OpenExample(const QString& path);
    void DropFiles(const QStringList& paths);
    // Song files dropped on any text box of the window open as on the window itself.
    void CatchSongDrops();
    // Writes the song; false (after telling the user) when it could not be written.
    bool SaveSongTo(const QString& path);
    void AddRecentFile(const QString& path);
    void RefreshRecentMenu();
    void ResetToEmptyDocument();
    SongRecovery& recovery() { return m_document->recovery(); }
    // Offers the copies crashed runs left, newest first (frm_main_recovery.cpp): Yes opens one
    // as a modified song with its path and settings, No deletes it and offers the next. A damaged
    // copy is left alone, unoffered; a copy whose program still runs is never touched.
    void OfferRecovery();
    // Puts back the old bytes of every file whose save a killed run left half written, and says
    // so; a file that cannot be put back is reported with the copy that holds its bytes.
    void RestoreInterruptedSaves();

    // --- What a play shows (PlayView) --------------------------------------------------------
    void SetPlayingControls(bool enabled) override;
    void ShowChordName(const QString& name) override;
    void ShowError(const QString& text) override;
    void ShowStatus(const QString& text) override;
    // A note in the status bar for a while, over the panels, for what the user should know but
    // need not answer (a dictionary restored, a recovery copy that cannot be written).
    void ShowStatusNote(const QString& text);
    void ShowPlayButton(bool stop) override;
    PlayOptions playOptions() const override;
    void FocusEditor() override;
    void ShowTrainerTempo(int tempo) override;

    // --- Chord dictionary (frm_main_dictionary.cpp) -----------------------------------------
    ChordDictionaryBox& dictionary() { return *m_dictionary; }
    QStringList dictionaryEntries() const;
    // Refills the dictionary from the chord lines of the editor.
    void ReplaceChordDictionary();
    void cboDictionaryChange(const QString& entry);
    void NameChordFromFrets();
    // Shows the Chord Shapes window for the current tuning (made at the first showing).
    void ChordShapes1Click();
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
    void btnNewChordClick() { m_composer->NewLine(); }
    void btnRestClick() { m_composer->InsertRest(); }
    void btnDupClick() { m_composer->DuplicateLine(); }
    void btnClearClick() { m_composer->ClearLine(); }
    void btnDeleteClick() { m_composer->DeleteLine(); }
    void DurationClick(const QString& letter);
    // Shows the current duration: its note button pressed, Dotted ticked for a dotted one.
    void ShowDuration();
    void edtNameExit();
    void btnShiftLeftClick() { m_composer->Transpose(TransposeDirection::Down); }
    void btnShiftRightClick() { m_composer->Transpose(TransposeDirection::Up); }
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
    // Lays the controls out for the window's size (main_layout.h).
    void FormResize() { layOutControls(height()); }

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
    // The Edit menu's states are shown while it is open; afterwards its shortcuts act again on
    // the state at the key press, which each command checks itself.
    void EnableEditShortcuts();
    void ConnectEvents();
    void BuildDictionaryControls();
    void RegisterAssociation();
    void UnregisterAssociation();
    void FormCreate();
    void FormClose();
    bool FormCloseQuery();
    void RichEdit1Refresh();
    void RichEdit1KeyUp(int key);
    void RichEdit1SelectionChange();
    void ShowSongPath(const QString& path);
    bool openSongFile(const QString& path);
    QString songFileName() const;
    Tfrmfind& findDialog();
    void ShowNotFound();

    MainWindowDeps m_deps;
    std::unique_ptr<Settings> m_settings;
    SongDocument* m_document = nullptr;
    PlaySession* m_play = nullptr;
    LineEditor m_lines{nullptr};
    int MaxFret = fw::MaxFret;
    bool StatusHints = true;
    bool ActivatedOnce = false;
    int m_nameLine = 0;
    bool m_externalMidiAtStart = false;
    bool m_shutDown = false;
    bool m_closeAfterPlay = false; // a close came during a play: close once it has ended
    std::unique_ptr<LineComposer> m_composer;
    std::unique_ptr<ChordDictionaryBox> m_dictionary;
    std::unique_ptr<SongExports> m_exports;
    TfrmOptions* m_options = nullptr; // made at the first showing, then reused
};

} // namespace fw
