#pragma once
// The main window's controls and menu items, named as the program has always named them. The
// window builds them once (setupUi) and owns them; tests reach them through TfrmMain::ui(), in
// the manner of a designer-made Ui class.

#include "ui/dictionary_combo_box.h"

#include <array>

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTextDocument;
class QToolButton;
class QWidget;

namespace fw {

class FretboardView;
class TfrmChordShapes;
class Tfrmfind;
class TfrmMidiPlayer;

struct MainControls {
    // Builds every control and menu item into `window`, the chord list showing `text`; the MIDI
    // player item is greyed out when there is no file player.
    void setupUi(QMainWindow* window, bool hasFilePlayer, QTextDocument* text);

    QWidget* client = nullptr;
    FretboardView* fretboard = nullptr;
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
    QCheckBox* chkTriplet = nullptr;
    DictionaryComboBox* cboDictionary = nullptr;
    QLabel* lblDictionary = nullptr;
    QGroupBox* grpPlayControls = nullptr;
    QGroupBox* rdoPlayOptions = nullptr;
    QButtonGroup* playOptionGroup = nullptr;
    QCheckBox* chkLoop = nullptr;
    QCheckBox* chkTrace = nullptr;
    QScrollBar* scrlTempo = nullptr;
    QLabel* lblSlower = nullptr;
    QLabel* lblFaster = nullptr;
    QLabel* lblTempo = nullptr;   // kept in step, hidden: spnTempo shows the number
    QSpinBox* spnTempo = nullptr; // beside scrlTempo, for typing a tempo
    // Practice: count-in, metronome and speed trainer, in the menu of one small button.
    QToolButton* btnPractice = nullptr;
    std::array<QAction*, 3> actCountIn{}; // off, 1 measure, 2 measures
    QAction* actMetronome = nullptr;
    QAction* actTrainer = nullptr;
    QSpinBox* spnTrainerStart = nullptr;
    QSpinBox* spnTrainerStep = nullptr;
    QSpinBox* spnTrainerTarget = nullptr;
    QLabel* lblTrainerTempo = nullptr; // the trainer's speed while it runs
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
    QAction *NameChord1 = nullptr, *ChordShapes1 = nullptr;
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
    Tfrmfind* frmfind = nullptr;               // made at the first search
    TfrmMidiPlayer* frmMidiPlayer = nullptr;   // made at the first showing
    TfrmChordShapes* frmChordShapes = nullptr; // made at the first showing

    // Places the controls for the client's size and the window's height (main_layout.h), and
    // the least client height at which nothing is cut.
    void layOutControls(int windowHeight);
    int minimumClientHeight() const;

private:
    void BuildControls(QMainWindow* window, QTextDocument* text);
    void BuildMenus(QMainWindow* window, bool hasFilePlayer);
    void BuildPracticeControls(QMainWindow* window);
};

} // namespace fw
